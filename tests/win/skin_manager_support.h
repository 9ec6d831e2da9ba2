#pragma once
// Controls that carry a TsCommonData and record every skin command they get,
// and the internal skin built from its source files, for the skin tests.
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gui/graphic_controls.h"
#include "gui/std_controls.h"
#include "gui/text.h"
#include "engine/common_data.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui_test_support.h"
#include "skin/internal_skin.h"

namespace korvel::testing {

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Adds "Elegant (internal)" built from skin/internal to the manager's stored skins.
inline void AddElegant(TsSkinManager& manager) {
    const auto options = ReadBytes(SourcePath("skin/internal/elegant.ini"));
    const auto master = ReadBytes(SourcePath("skin/internal/elegant_master.bmp"));
    BuildInternalSkin(manager.InternalSkins().Add(),
                      std::string_view(reinterpret_cast<const char*>(options.data()), options.size()), master);
}

// A skin manager owned by owner that finds no program folder and no skin
// folders (unless skinDirectory names some) and holds "Elegant (internal)".
inline TsSkinManager* NewElegantManager(TComponent* owner, const std::string& skinDirectory = "Z:\\nonexistent") {
    auto* manager = new TsSkinManager(owner);
    manager->SetProgramFolder("Z:\\nonexistent\\");
    manager->SetSkinDirectory(skinDirectory);
    AddElegant(*manager);
    return manager;
}

// Writes a skin folder <temp>\korvel-skins-<tag>-<pid>\<name>\Options.dat holding
// the given lines; returns the skin directory (the folder of skin folders).
inline std::string WriteFolderSkin(const std::string& tag, const std::string& name,
                                   const std::vector<std::string>& options) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::string directory = Narrow(temp) + "korvel-skins-" + tag + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(Widen(directory).c_str(), nullptr);
    CreateDirectoryW(Widen(directory + "\\" + name).c_str(), nullptr);
    std::ofstream out(Widen(directory + "\\" + name + "\\Options.dat").c_str(), std::ios::binary | std::ios::trunc);
    for (const std::string& line : options) out << line << "\r\n";
    return directory;
}

// The commands a control received, in order.
struct TCommandLog {
    std::vector<std::uint32_t> Commands;
    std::vector<LPARAM> Arguments;
    void Record(const TMessage& m) {
        Commands.push_back(SkinCommandOf(m.WParam));
        Arguments.push_back(m.LParam);
    }
    // Only the announcement commands (1, 2, 3, 16).
    std::vector<std::uint32_t> Announcements() const {
        std::vector<std::uint32_t> out;
        for (auto c : Commands) {
            if (c == SMC_SKINCHANGED || c == SMC_SKINREMOVED || c == SMC_SKINAPPLIED || c == SMC_STOPFADE) out.push_back(c);
        }
        return out;
    }
};

// A control of the framework's class Base carrying a TsCommonData of the given
// control code, recording every skin command before its skin state handles it.
template <class Base, std::uint32_t Code>
class TRecordingSkinned : public Base {
public:
    TRecordingSkinned(TComponent* owner, const std::string& section) : Base(owner), SkinData(this, true) {
        SkinData.ControlCode = Code;
        SkinData.SetSkinSection(section);
    }
    TsCommonData SkinData;
    TCommandLog Log;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == SM_ALPHACMD) {
            Log.Record(m);
            SkinData.CommonWndProc(m);
            return;
        }
        SkinData.CommonWndProc(m);
        Base::WndProc(m);
    }
};

class TSkinnedPanel : public TRecordingSkinned<TPanel, ccPanel> {
public:
    explicit TSkinnedPanel(TComponent* owner, const std::string& section = "PANEL") : TRecordingSkinned(owner, section) {}
};

class TSkinnedGraphic : public TRecordingSkinned<TGraphicControl, ccButton> {
public:
    explicit TSkinnedGraphic(TComponent* owner, const std::string& section = "BUTTON")
        : TRecordingSkinned(owner, section) {}
};

}  // namespace korvel::testing
