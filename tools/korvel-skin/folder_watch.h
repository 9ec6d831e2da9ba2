#pragma once
// Watching a skin folder from korvel-skin by polling: the names, sizes and
// modification times of its files make a stamp; a save changes the stamp, and
// a save is over when the stamp has stayed the same for a quiet moment.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace korvel {

// One line per file of the folder (not its subfolders), sorted by name: name,
// size and modification time. "" for a folder that cannot be read.
std::string FolderStamp(const std::filesystem::path& folder);

struct TWatchTiming {
    std::chrono::milliseconds Poll{100};
    std::chrono::milliseconds Quiet{200};    // an editor's burst of writes is one save
};

// Waits until the folder's stamp differs from stamp and then holds still for
// the quiet time; returns the new stamp, or nothing when the deadline comes first.
std::optional<std::string> WaitForSave(const std::filesystem::path& folder, const std::string& stamp,
                                       std::chrono::steady_clock::time_point deadline, const TWatchTiming& timing = {});

}  // namespace korvel
