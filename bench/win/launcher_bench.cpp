// Timings of the launcher's main window under Wine, each reported as a median
// in milliseconds and as a ratio against a reference measured in the same run
// on the same window (see bench/README.md). Not a test: run by hand.
//
//   launcher_bench [SKIN_DIRECTORY]     (default: the source tree's skins folder)
#include "app/main_form.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "controls/button.h"
#include "engine/skin_manager.h"
#include "forms/skin_provider.h"
#include "gui/application.h"
#include "gui/text.h"
#include "skin/picture_decode.h"

using namespace korvel;

namespace {

double Now() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The median of runs of the step, in milliseconds; prepare (untimed) runs before each.
double Median(int runs, const std::function<void()>& step, const std::function<void()>& prepare = {}) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare) prepare();
        const double start = Now();
        step();
        ms.push_back(Now() - start);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void Drain() {
    for (int i = 0; i < 3; ++i) Application().ProcessMessages();
}

// Everything painted now: the frame, the client area and every child.
void PaintAll(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
}

// Whatever is still to be painted, painted now: nothing is invalidated first,
// so a change that leaves part of the window unpainted pays for it here.
void FinishPainting(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

void Report(const char* what, double ms, const char* reference, double referenceMs, const char* goal) {
    std::printf("%-44s %8.3f ms   %-34s %8.3f ms   ratio %6.2f   %s\n", what, ms, reference, referenceMs,
                referenceMs > 0 ? ms / referenceMs : 0.0, goal);
}

// The visible pop-up menu window of this process, or nullptr.
HWND PopupMenuWindow() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 16);
            if (pid != GetCurrentProcessId() || std::wstring(cls) != L"#32768" || !IsWindowVisible(hwnd)) return TRUE;
            *reinterpret_cast<HWND*>(param) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Drops the skinned system menu (which builds its "Available skins" submenu
// afresh) and closes it with Escape once it shows; returns the skin items'
// commands by skin name.
std::vector<std::pair<std::string, UINT>> OpenSystemMenu(TsSkinProvider& provider) {
    std::thread closer([] {
        for (int i = 0; i < 250 && !PopupMenuWindow(); ++i) Sleep(20);
        Sleep(100);
        for (bool up : {false, true}) {
            INPUT key{};
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = VK_ESCAPE;
            key.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            SendInput(1, &key, sizeof(key));
        }
    });
    RECT w{};
    GetWindowRect(provider.Form()->Handle(), &w);
    provider.DropSystemMenu(w.left + 60, w.top + 20);
    closer.join();
    Drain();
    std::vector<std::pair<std::string, UINT>> commands;
    if (TMenuItem* skins = provider.SystemMenu()->SkinsItem())
        for (int i = 0; i < skins->Count(); ++i)
            commands.push_back({TsSystemMenu::SkinNameOfCaption(skins->Items(i)->Caption()), skins->Items(i)->Command()});
    return commands;
}

UINT CommandOf(const std::vector<std::pair<std::string, UINT>>& commands, const std::string& skin) {
    for (const auto& [name, command] : commands)
        if (name == skin) return command;
    return 0;
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(Widen(path).c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::string skins = argc > 1 ? Narrow(argv[1]) : std::string();
    if (skins.empty()) skins = "Z:" KORVEL_SOURCE_DIR "/skins";

    // Start to first skinned paint: the window built from its resources, shown
    // and painted completely, against the same window built with its skin
    // manager switched off before it is shown (the unskinned start).
    const double skinnedStart = Median(5, [] {
        TForm1 form(&Application());
        form.ShellCall = [](HWND, const std::string&, const std::string&, const std::string&) {};
        form.Show();
        PaintAll(form.Handle());
    });
    const double plainStart = Median(5, [] {
        TForm1 form(&Application());
        form.ShellCall = [](HWND, const std::string&, const std::string&, const std::string&) {};
        form.Part<TsSkinManager>("sSkinManager1").SetActive(false);
        form.Show();
        PaintAll(form.Handle());
    });

    auto* form = new TForm1(&Application());
    form->ShellCall = [](HWND, const std::string&, const std::string&, const std::string&) {};
    Application().SetMainForm(form);
    form->Show();
    auto& manager = form->Part<TsSkinManager>("sSkinManager1");
    manager.SetSkinDirectory(skins);
    PaintAll(form->Handle());
    Drain();
    const HWND window = form->Handle();

    std::printf("launcher_bench: medians; ratio = time / reference measured in this run\n");
    Report("start to first skinned paint (build+show)", skinnedStart, "unskinned start", plainStart, "");

    for (const char* skin : {"Elegant (internal)", "Basalt"}) {
        manager.SetSkinName(skin);
        PaintAll(window);
        Drain();
        if (manager.SkinName() != skin) {
            std::printf("cannot load %s from %s\n", skin, skins.c_str());
            return 1;
        }
        std::printf("-- %s\n", skin);
        // The reference: the whole window painted again from what it has.
        const double repaint = Median(41, [&] { PaintAll(window); });

        // Hover repaint of one launch button: its cache rebuilt in the new
        // state and copied to its window, against copying the finished cache
        // (the same pixels) to the window.
        auto& button = form->Part<TsButton>("rootgenbtn");
        const HWND bw = button.Handle();
        bool above = false;
        const double hover = Median(201, [&] {
            above = !above;
            button.SkinData.MouseAbove = above;
            button.SkinData.BackgroundChanged = true;
            RedrawWindow(bw, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            GdiFlush();
        });
        button.SkinData.MouseAbove = false;
        const double copy = Median(201, [&] {
            HDC dc = GetDC(bw);
            HDC memory = CreateCompatibleDC(dc);
            TBitmap24* cache = button.SkinData.CacheBmp();
            HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(cache->Handle()));
            BitBlt(dc, 0, 0, cache->Width(), cache->Height(), memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
            ReleaseDC(bw, dc);
            GdiFlush();
        });
        Report("hover repaint of one launch button", hover, "copy of its cache to the window", copy, "goal <= 1 ms");

        // A complete skin change to this skin: load, announce, every cache rebuilt
        // and painted, and whatever the change left to paint painted.
        const char* other = std::string(skin) == "Basalt" ? "Elegant (internal)" : "Basalt";
        double loadAnnounce = 0, paint = 0;
        std::vector<double> loads, paints;
        const double change = Median(21, [&] {
            const double start = Now();
            manager.SetSkinName(skin);
            const double loaded = Now();
            FinishPainting(window);
            loads.push_back(loaded - start);
            paints.push_back(Now() - loaded);
        }, [&] {
            manager.SetSkinName(other);
            PaintAll(window);
            Drain();
        });
        std::sort(loads.begin(), loads.end());
        std::sort(paints.begin(), paints.end());
        loadAnnounce = loads[loads.size() / 2];
        paint = paints[paints.size() / 2];
        Report("complete skin change", change, "repaint of the whole window", repaint, "goal <= 16 ms");
        std::printf("    of which SetSkinName %.3f ms, painting left after it %.3f ms\n", loadAnnounce, paint);
        // The same change followed by a repaint of the whole window (the measure
        // of earlier runs, which painted everything once more after the change).
        const double changeAndRepaint = Median(21, [&] {
            manager.SetSkinName(skin);
            PaintAll(window);
        }, [&] {
            manager.SetSkinName(other);
            PaintAll(window);
            Drain();
        });
        Report("    the change and a whole-window repaint", changeAndRepaint, "repaint of the whole window", repaint, "");
        // The same change with the window hidden: loading and the controls' own
        // handling of the announcements, without the frame's region and repaints.
        form->Hide();
        Drain();
        const double hidden = Median(21, [&] { manager.SetSkinName(skin); }, [&] { manager.SetSkinName(other); });
        form->Show();
        PaintAll(window);
        Drain();
        std::printf("    the same change with the window hidden: %.3f ms\n", hidden);

        // The same change chosen in the system menu: the "Available skins"
        // item's command (as the menu posts it to the window) to the whole
        // window painted, against the change made by SetSkinName above.
        const auto commands = OpenSystemMenu(form->Part<TsSkinProvider>("sSkinProvider1"));
        const UINT chosen = CommandOf(commands, skin), back = CommandOf(commands, other);
        if (!chosen || !back) {
            std::printf("the system menu offers no item for %s or %s\n", skin, other);
            return 1;
        }
        // The two are timed in turn, round by round, so the machine's load
        // drifts over both alike; the ratio is the median of the rounds' ratios.
        auto timed = [&](const std::function<void()>& change) {
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(back, 0), 0);
            PaintAll(window);
            Drain();
            const double start = Now();
            change();
            FinishPainting(window);
            return Now() - start;
        };
        std::vector<double> menuTimes, nameTimes, ratios;
        for (int i = 0; i < 21; ++i) {
            const double byName = timed([&] { manager.SetSkinName(skin); });
            const double byMenu = timed([&] { SendMessageW(window, WM_COMMAND, MAKEWPARAM(chosen, 0), 0); });
            nameTimes.push_back(byName);
            menuTimes.push_back(byMenu);
            ratios.push_back(byMenu / byName);
        }
        for (auto* v : {&menuTimes, &nameTimes, &ratios}) std::sort(v->begin(), v->end());
        const double fromMenu = menuTimes[10], byName = nameTimes[10];
        std::printf("    system menu against SetSkinName, round by round: median ratio %.2f\n", ratios[10]);
        Report("skin chosen in the system menu", fromMenu, "the same change by SetSkinName", byName, "goal <= 1.1x");

        // Non-client repaint after activation, against a plain WM_NCPAINT of
        // the same window with the skin off (the system's frame).
        const double activation = Median(41, [&] {
            SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
            GdiFlush();
        });
        // The frame's own part of it: the title switched to the other look and
        // the frame painted, alternately active and inactive.
        auto& provider = form->Part<TsSkinProvider>("sSkinProvider1");
        const double frameAfterActivation = Median(41, [&] {
            provider.FormActive = !provider.FormActive;
            provider.SkinData().BackgroundChanged = true;
            SendMessageW(window, WM_NCPAINT, 1, 0);
            GdiFlush();
        });
        provider.FormActive = true;
        // The whole picture of the window rebuilt in the cache (background,
        // frame, grip, title bar), without copying it anywhere.
        const double fullCache = Median(41, [&] {
            provider.MenuLineChanged = true;
            provider.SkinData().BackgroundChanged = true;
            provider.RepaintCache();
        });
        provider.SkinData().BackgroundChanged = true;
        SendMessageW(window, WM_NCPAINT, 1, 0);
        manager.SetActive(false);
        PaintAll(window);
        Drain();
        const double plainFrame = Median(41, [&] {
            SendMessageW(window, WM_NCPAINT, 1, 0);
            GdiFlush();
        });
        const double plainActivation = Median(41, [&] {
            SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
            GdiFlush();
        });
        manager.SetActive(true);
        manager.SetSkinName(skin);
        PaintAll(window);
        Drain();
        Report("non-client repaint after activation", activation, "plain WM_NCPAINT, unskinned", plainFrame,
               "goal <= 2x");
        Report("    the same WM_ACTIVATE", activation, "WM_ACTIVATE, unskinned", plainActivation, "");
        Report("    the frame's part: other look, WM_NCPAINT", frameAfterActivation, "plain WM_NCPAINT, unskinned",
               plainFrame, "goal <= 2x");
        Report("full cache repaint (RepaintCache)", fullCache, "plain WM_NCPAINT, unskinned", plainFrame, "");
    }

    // Where a Basalt load spends its time: decoding its two JPEG patterns.
    for (const char* picture : {"SLATE.JPG", "GRAIN.JPG"}) {
        const auto bytes = ReadFile(skins + "\\Basalt\\" + picture);
        const double decode = Median(41, [&] { (void)DecodeJpeg(bytes); });
        std::printf("    decoding Basalt's %s (%zu bytes): %.3f ms\n", picture, bytes.size(), decode);
    }
    Application().SetMainForm(nullptr);
    delete form;
    return 0;
}
