#pragma once
// Keeping secrets out of reach in memory: buffers that held a password file or a typed password are
// zeroed once they are done with, and other processes may not read this one's memory.

#include <cstddef>
#include <string>

namespace klt {

// Zeros nBytes at pBytes with a store the compiler may not drop, dead as it looks.
void WipeBytes(void* pBytes, size_t nBytes);

// Zeros the whole buffer of text, also what earlier contents left past its end, and empties it.
template <class Char> void Wipe(std::basic_string<Char>& text) {
    text.resize(text.capacity());
    WipeBytes(text.data(), text.size() * sizeof(Char));
    text.clear();
}

// Wipes a text when the scope ends, whichever way it is left.
class WipeOnExit {
public:
    explicit WipeOnExit(std::string& text) : m_text(text) {}
    ~WipeOnExit() { Wipe(m_text); }
    WipeOnExit(const WipeOnExit&) = delete;
    WipeOnExit& operator=(const WipeOnExit&) = delete;

private:
    std::string& m_text;
};

// Called first thing at start, before any file is read: no other process of the user may read or
// trace this one's memory (no debugger attaches, /proc/PID/mem is refused), and a crash writes no
// core file with the passwords in it.
void ProtectProcessMemory();

} // namespace klt
