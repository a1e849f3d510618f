#include "app/version/ElfSection.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace klt {
namespace {

// An open file read at given offsets; every read is checked against the file's size, so a damaged
// header can never make us read past the end or allocate more than the file holds.
class FileReader {
public:
    explicit FileReader(const std::string& path) : m_fd(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat info {};
        if (m_fd >= 0 && fstat(m_fd, &info) == 0) {
            m_size = static_cast<uint64_t>(info.st_size);
        }
    }
    ~FileReader() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool IsOpen() const { return m_fd >= 0; }

    bool Read(uint64_t offset, void* buffer, uint64_t length) const {
        if (offset > m_size || length > m_size - offset) {
            return false;
        }
        auto* bytes = static_cast<char*>(buffer);
        while (length > 0) {
            const ssize_t n = pread(m_fd, bytes, length, static_cast<off_t>(offset));
            if (n <= 0) {
                return false;
            }
            bytes += n;
            offset += static_cast<uint64_t>(n);
            length -= static_cast<uint64_t>(n);
        }
        return true;
    }

    bool ReadString(uint64_t offset, uint64_t length, std::string& text) const {
        if (offset > m_size || length > m_size - offset) {
            return false;
        }
        text.resize(length);
        return Read(offset, text.data(), length);
    }

private:
    int m_fd;
    uint64_t m_size = 0;
};

template <class Ehdr, class Shdr>
bool FindSection(const FileReader& file, const std::string& name, std::string& contents) {
    Ehdr header{};
    if (!file.Read(0, &header, sizeof header) || header.e_shentsize != sizeof(Shdr)) {
        return false;
    }
    const auto sectionHeader = [&](uint64_t index, Shdr& section) {
        return file.Read(header.e_shoff + index * sizeof(Shdr), &section, sizeof section);
    };
    // Files with very many sections keep the true count and name index in section 0.
    Shdr first{};
    if (!sectionHeader(0, first)) {
        return false;
    }
    const uint64_t count = header.e_shnum != 0 ? header.e_shnum : first.sh_size;
    const uint64_t namesIndex = header.e_shstrndx != SHN_XINDEX ? header.e_shstrndx : first.sh_link;
    Shdr names{};
    std::string nameTable;
    if (namesIndex >= count || !sectionHeader(namesIndex, names) ||
        !file.ReadString(names.sh_offset, names.sh_size, nameTable)) {
        return false;
    }
    for (uint64_t i = 1; i < count; ++i) {
        Shdr section{};
        if (!sectionHeader(i, section)) {
            return false;
        }
        if (section.sh_name >= nameTable.size() || nameTable.c_str() + section.sh_name != name) {
            continue;
        }
        return section.sh_type != SHT_NOBITS && file.ReadString(section.sh_offset, section.sh_size, contents);
    }
    return false;
}

} // namespace

bool ReadElfSection(const std::string& path, const std::string& name, std::string& contents,
                    std::string& error) {
    const FileReader file(path);
    if (!file.IsOpen()) {
        error = std::strerror(errno);
        return false;
    }
    unsigned char ident[EI_NIDENT] = {};
    const unsigned char byteOrder = std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;
    bool bFound = false;
    if (file.Read(0, ident, sizeof ident) && std::memcmp(ident, ELFMAG, SELFMAG) == 0 &&
        ident[EI_DATA] == byteOrder) {
        if (ident[EI_CLASS] == ELFCLASS64) {
            bFound = FindSection<Elf64_Ehdr, Elf64_Shdr>(file, name, contents);
        } else if (ident[EI_CLASS] == ELFCLASS32) {
            bFound = FindSection<Elf32_Ehdr, Elf32_Shdr>(file, name, contents);
        }
    }
    if (!bFound) {
        error = std::strerror(ENOEXEC);
    }
    return bFound;
}

} // namespace klt
