#pragma once
// How a second instance reaches the first one: the first instance's main window takes window
// messages over a local socket in the user's runtime folder, named after the window's id, which
// only the same user can reach. A message is the four bytes "KLT1" followed by the window id, the
// message, wParam, lParam and the length of a file's path as 32-bit little-endian numbers, then
// the path's bytes: the file a second start hands over travels with its message, so that starts
// made at once cannot overwrite each other's file on the way. The answer, the handler's result as
// a 32-bit little-endian number, comes when the handler has finished, as for a sent message.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace klt {

struct ChannelMessage {
    uint32_t window = 0;
    uint32_t message = 0;
    uint32_t wParam = 0;
    uint32_t lParam = 0;
    std::string file; // the file to be brought up, in full; empty for none
};

inline constexpr size_t kChannelHeaderSize = 24;
inline constexpr size_t kMaxChannelFile = 4096; // the longest path the system takes
inline constexpr size_t kChannelAnswerSize = 4;

std::string EncodeChannelMessage(const ChannelMessage& message);
// The size of the whole message that bytes begins with, once its header is there; null when the
// header is no channel's or names too long a path.
std::optional<size_t> ChannelMessageSize(std::string_view bytes);
// Null unless bytes is exactly one well-formed message.
std::optional<ChannelMessage> DecodeChannelMessage(std::string_view bytes);
std::string EncodeChannelAnswer(int32_t result);

// The socket of the window's channel; empty when the user has no runtime folder.
std::string ChannelPath(uint32_t window);
// Whether a file name in the runtime folder is that of a channel.
bool IsChannelName(const std::string& fileName);
// Whether the process at the other end of a connected local socket runs as this user.
bool IsSameUserPeer(int fd);

// Sends the message to its window's channel and waits until the handler has finished. False when
// nobody took it: no window has that channel, or its instance went away before it answered.
bool SendChannelMessage(const ChannelMessage& message, int32_t& result);

} // namespace klt
