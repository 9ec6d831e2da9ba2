#pragma once
// The files a skin load reads, behind a small seam: the real disk, or an
// in-memory set of files (tests and the fuzzer). Paths are written the way
// the skin settings write them, with "\" separators and trailing "\" on folders.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

class TsFileSystem {
public:
    struct Entry {
        std::string Name;
        bool Directory = false;
    };

    virtual ~TsFileSystem() = default;
    virtual bool FileExists(const std::string& path) const = 0;
    virtual bool DirectoryExists(const std::string& path) const = 0;
    // The whole file, or nothing when it cannot be read or is larger than MaxFileBytes.
    virtual std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) const = 0;
    // Every entry of the folder, "." and ".." excluded, in the order the system gives them.
    virtual std::vector<Entry> ListDirectory(const std::string& path) const = 0;

    static constexpr std::uintmax_t MaxFileBytes = 256u << 20;
};

// The real file system. Natively, "\" separators become "/" and a name that
// does not exist as written is matched without regard to case, the way the
// program's own platform finds files.
const TsFileSystem& DiskFileSystem();

// Files held in memory; names are matched without regard to case, "/" and "\"
// are the same separator, and folders exist when a file lies below them.
class TsMemoryFileSystem : public TsFileSystem {
public:
    void AddFile(const std::string& path, std::vector<std::uint8_t> bytes);
    void AddFile(const std::string& path, const std::string& text);

    bool FileExists(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) const override;
    std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) const override;
    std::vector<Entry> ListDirectory(const std::string& path) const override;

private:
    static std::string Key(const std::string& path);
    std::map<std::string, std::pair<std::string, std::vector<std::uint8_t>>> files_;   // key -> (path, bytes)
};

}  // namespace korvel
