// The skin folder watch: ReadDirectoryChangesW on a worker thread (Wine serves
// it from the file system's change notifications), posted to the GUI thread.
#include "engine/skin_watch.h"

#include <atomic>
#include <thread>

#include "gui/text.h"
#include "gui/timer.h"

namespace korvel {

namespace {

// Posted by a worker: a change in its folder; the first parameter is the worker's generation.
constexpr UINT WM_SKINFOLDERCHANGED = WM_APP + 0x51;
constexpr UINT_PTR SettleTimerId = 1;
// What an editor's save changes: the file's contents, size and time, and the
// name for editors that write a new file and rename it over the old one.
constexpr DWORD ChangeFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;
// After a cancel the pending read completes at once; never wait longer than this for it.
constexpr DWORD CancelWaitMs = 2000;

std::atomic<int> liveThreads{0};

}  // namespace

struct TsSkinWatch::TWorker {
    HANDLE Folder = INVALID_HANDLE_VALUE;
    HANDLE StopEvent = nullptr;
    std::thread Thread;

    ~TWorker() {
        if (Thread.joinable()) {
            SetEvent(StopEvent);
            Thread.join();
        }
        if (Folder != INVALID_HANDLE_VALUE) CloseHandle(Folder);
        if (StopEvent) CloseHandle(StopEvent);
    }

    // Waits for changes until told to stop or the folder goes away; posts one
    // message per completed read, whatever it holds (an overflow is a change too).
    // The thread was counted when it was started; it uncounts itself as it ends.
    static void Run(HANDLE folder, HANDLE stop, HWND window, unsigned generation) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        alignas(DWORD) unsigned char buffer[8192];
        while (overlapped.hEvent) {
            ResetEvent(overlapped.hEvent);
            if (!ReadDirectoryChangesW(folder, buffer, sizeof buffer, FALSE, ChangeFilter, nullptr, &overlapped, nullptr))
                break;
            const HANDLE waits[2] = {stop, overlapped.hEvent};
            if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
                // The read must be over before its buffer and event go.
                CancelIo(folder);
                WaitForSingleObject(overlapped.hEvent, CancelWaitMs);
                break;
            }
            DWORD bytes = 0;
            if (!GetOverlappedResult(folder, &overlapped, &bytes, FALSE) && GetLastError() != ERROR_NOTIFY_ENUM_DIR) break;
            PostMessageW(window, WM_SKINFOLDERCHANGED, generation, 0);
        }
        if (overlapped.hEvent) CloseHandle(overlapped.hEvent);
        --liveThreads;
    }
};

TsSkinWatch::TsSkinWatch(std::function<void()> changed) : changed_(std::move(changed)) {}

TsSkinWatch::~TsSkinWatch() {
    Stop();
    DeallocateHWnd(window_);
}

int TsSkinWatch::LiveThreads() { return liveThreads.load(); }

void TsSkinWatch::Stop() {
    worker_.reset();
    ++generation_;
    if (window_) KillTimer(window_, SettleTimerId);
    burst_ = false;
    folder_.clear();
}

bool TsSkinWatch::Watch(const std::string& folder) {
    if (folder == folder_ && (worker_ || folder.empty())) return true;
    Stop();
    if (folder.empty()) return true;
    if (!window_) window_ = AllocateHWnd([this](TMessage& m) { OnMessage(m); });
    if (!window_) return false;
    auto worker = std::make_unique<TWorker>();
    worker->Folder = CreateFileW(Widen(folder).c_str(), FILE_LIST_DIRECTORY,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    worker->StopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (worker->Folder == INVALID_HANDLE_VALUE || !worker->StopEvent) return false;
    ++liveThreads;
    worker->Thread = std::thread(TWorker::Run, worker->Folder, worker->StopEvent, window_, generation_);
    worker_ = std::move(worker);
    folder_ = folder;
    return true;
}

void TsSkinWatch::OnMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_SKINFOLDERCHANGED:
        m.Result = 1;
        if (m.WParam != generation_) return;   // from the worker of a folder no longer watched
        if (!burst_) {
            burst_ = true;
            burstStart_ = GetTickCount();
        }
        if (GetTickCount() - burstStart_ >= LongestBurstMs) return Settle();
        SetTimer(window_, SettleTimerId, QuietMs, nullptr);   // every change restarts the quiet wait
        return;
    case WM_TIMER:
        if (m.WParam == SettleTimerId) Settle();
        return;
    }
}

void TsSkinWatch::Settle() {
    KillTimer(window_, SettleTimerId);
    if (!burst_) return;
    burst_ = false;
    // The owner may watch another folder from here; nothing of this call runs after it.
    const std::function<void()> changed = changed_;
    changed();
}

}  // namespace korvel
