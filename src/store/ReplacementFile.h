#pragma once
// The new version of a file on its way into place. Where the file system allows it the file has no
// name until it is complete and flushed, so a save that is killed part-way leaves nothing behind;
// elsewhere it is named ".NAME.XXXXXX" beside the file and locked while it is written, so that a
// later save can tell a temporary file left by a killed save from one that is being written.

#include <string>

namespace klt {

class ReplacementFile {
public:
    // For the file strTarget (the final target, no link). Nothing is made until Create.
    explicit ReplacementFile(std::string strTarget);
    ~ReplacementFile(); // a file that was not put in place is removed
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Makes the file, 0600, in the target's folder. 0 or an errno value.
    int Create();
    int Descriptor() const { return m_fd; }
    // Puts the written and flushed file in place of the target; the descriptor stays open until the
    // object goes, for a last look at the file in place. 0 or an errno value.
    int Commit();

private:
    int LinkUnnamed(std::string& strName);

    std::string m_strTarget;
    std::string m_strName; // the named file's path while it has one and is not in place
    int m_fd = -1;
};

// The folder of strTarget, "." for a bare name.
std::string FolderOf(const std::string& strTarget);
// Removes what saves of strTarget that were killed left behind: this user's regular files named as
// its temporary files that no save is writing now.
void RemoveStaleTemporaries(const std::string& strTarget);

} // namespace klt
