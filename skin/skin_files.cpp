#include "skin/skin_files.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "gui/text_convert.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

fs::path FromUtf8(const std::string& text) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

std::string ToUtf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

#ifdef _WIN32
fs::path NativePath(const std::string& path) { return FromUtf8(path); }
#else
// Each component that does not exist as written is looked up without regard to case.
fs::path NativePath(const std::string& path) {
    std::string slashed = path;
    for (char& c : slashed)
        if (c == '\\') c = '/';
    fs::path written = FromUtf8(slashed);
    std::error_code ec;
    if (fs::exists(written, ec)) return written;
    fs::path result = written.root_path();
    for (const fs::path& part : written.relative_path()) {
        fs::path next = result / part;
        if (!fs::exists(next, ec) && fs::is_directory(result.empty() ? "." : result, ec)) {
            for (fs::directory_iterator it(result.empty() ? "." : result, ec), end; !ec && it != end; it.increment(ec)) {
                if (SameText(ToUtf8(it->path().filename()), ToUtf8(part))) {
                    next = result / it->path().filename();
                    break;
                }
            }
        }
        result = next;
    }
    return result;
}
#endif

class TDiskFileSystem final : public TsFileSystem {
public:
    bool FileExists(const std::string& path) const override {
        std::error_code ec;
        return fs::is_regular_file(NativePath(path), ec);
    }
    bool DirectoryExists(const std::string& path) const override {
        std::error_code ec;
        return fs::is_directory(NativePath(path), ec);
    }
    std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) const override {
        const fs::path native = NativePath(path);
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(native, ec);
        if (ec || size > MaxFileBytes) return std::nullopt;
        std::ifstream in(native, std::ios::binary);
        if (!in) return std::nullopt;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        return bytes;
    }
    std::vector<Entry> ListDirectory(const std::string& path) const override {
        std::vector<Entry> entries;
        std::error_code ec;
        for (fs::directory_iterator it(NativePath(path), ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code typeError;
            entries.push_back(Entry{ToUtf8(it->path().filename()), it->is_directory(typeError)});
        }
        return entries;
    }
};

}  // namespace

const TsFileSystem& DiskFileSystem() {
    static const TDiskFileSystem disk;
    return disk;
}

std::string TsMemoryFileSystem::Key(const std::string& path) {
    std::string key = UpperCase(path);
    for (char& c : key)
        if (c == '/') c = '\\';
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
}

void TsMemoryFileSystem::AddFile(const std::string& path, std::vector<std::uint8_t> bytes) {
    files_[Key(path)] = {path, std::move(bytes)};
}

void TsMemoryFileSystem::AddFile(const std::string& path, const std::string& text) {
    AddFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

bool TsMemoryFileSystem::FileExists(const std::string& path) const { return files_.count(Key(path)) > 0; }

bool TsMemoryFileSystem::DirectoryExists(const std::string& path) const {
    const std::string prefix = Key(path) + "\\";
    auto it = files_.lower_bound(prefix);
    return it != files_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

std::optional<std::vector<std::uint8_t>> TsMemoryFileSystem::ReadFile(const std::string& path) const {
    auto it = files_.find(Key(path));
    if (it == files_.end()) return std::nullopt;
    return it->second.second;
}

std::vector<TsFileSystem::Entry> TsMemoryFileSystem::ListDirectory(const std::string& path) const {
    const std::string prefix = Key(path) + "\\";
    std::vector<Entry> entries;
    for (auto it = files_.lower_bound(prefix); it != files_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
        // The original spelling of the child's name, taken from the stored path.
        std::string rest = it->second.first;
        for (char& c : rest)
            if (c == '/') c = '\\';
        rest = rest.substr(rest.size() - (it->first.size() - prefix.size()));
        const std::size_t slash = rest.find('\\');
        Entry entry{rest.substr(0, slash), slash != std::string::npos};
        bool seen = false;
        for (const Entry& e : entries) seen = seen || SameText(e.Name, entry.Name);
        if (!seen) entries.push_back(entry);
    }
    return entries;
}

}  // namespace korvel
