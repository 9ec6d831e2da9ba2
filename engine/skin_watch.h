#pragma once
// Watching a skin folder for saves: a worker thread waits on the folder's
// change notifications and posts to a hidden window of the GUI thread, which
// lets a burst of writes settle and then calls the owner back once. The worker
// never touches a window; everything the owner sees happens on the GUI thread.
// Windows half only.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "gui/messages.h"

namespace korvel {

class TsSkinWatch {
public:
    // Changed runs on the GUI thread, once per settled burst of changes.
    explicit TsSkinWatch(std::function<void()> changed);
    ~TsSkinWatch();
    TsSkinWatch(const TsSkinWatch&) = delete;
    TsSkinWatch& operator=(const TsSkinWatch&) = delete;

    // Watches the folder (its files, not its subfolders) instead of the one
    // watched so far; an empty name stops watching. Returns false when the
    // folder cannot be opened for watching (then nothing is watched).
    bool Watch(const std::string& folder);
    const std::string& Folder() const { return folder_; }

    // A burst has settled when no change came for QuietMs, or at the latest
    // LongestBurstMs after its first change, so a save shows within a second.
    static constexpr unsigned QuietMs = 150;
    static constexpr unsigned LongestBurstMs = 500;

    // Worker threads alive in the process (for leak checks).
    static int LiveThreads();

private:
    struct TWorker;
    void Stop();
    void OnMessage(TMessage& message);
    void Settle();

    std::function<void()> changed_;
    std::string folder_;
    std::unique_ptr<TWorker> worker_;
    HWND window_ = nullptr;
    unsigned generation_ = 0;       // posts of an earlier folder's worker are stale
    DWORD burstStart_ = 0;
    bool burst_ = false;
};

}  // namespace korvel
