#include "folder_watch.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace korvel {

namespace fs = std::filesystem;

std::string FolderStamp(const fs::path& folder) {
    std::error_code ec;
    std::vector<std::string> lines;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileError;
        if (!it->is_regular_file(fileError)) continue;
        const auto size = it->file_size(fileError);
        const auto time = it->last_write_time(fileError).time_since_epoch().count();
        if (fileError) continue;   // gone between the listing and the look: the next poll sees it
        lines.push_back(it->path().filename().string() + "\t" + std::to_string(size) + "\t" + std::to_string(time));
    }
    if (ec) return {};
    std::sort(lines.begin(), lines.end());
    std::string stamp;
    for (const std::string& line : lines) stamp += line + "\n";
    return stamp;
}

std::optional<std::string> WaitForSave(const fs::path& folder, const std::string& stamp,
                                       std::chrono::steady_clock::time_point deadline, const TWatchTiming& timing) {
    using Clock = std::chrono::steady_clock;
    std::string last = stamp;
    std::optional<Clock::time_point> changedAt;
    while (Clock::now() < deadline) {
        std::this_thread::sleep_for(timing.Poll);
        std::string now = FolderStamp(folder);
        if (now != last) {
            last = std::move(now);
            changedAt = Clock::now();
        } else if (changedAt && last != stamp && Clock::now() - *changedAt >= timing.Quiet) {
            return last;
        }
    }
    return std::nullopt;
}

}  // namespace korvel
