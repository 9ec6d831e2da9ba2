// The colours the skin gives controls: the background a control's children take
// (blended through see-through sections up the parent chain), and the colour and
// font colour of edit-like controls as the skin comes and goes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/forms.h"
#include "skin_manager_support.h"

namespace korvel {
namespace {

using testing::NewElegantManager;
using testing::TSkinnedPanel;

class TSkinnedEdit : public testing::TRecordingSkinned<TEdit, ccEdit> {
public:
    explicit TSkinnedEdit(TComponent* owner, const std::string& section) : TRecordingSkinned(owner, section) {}
};

// Section colours with three different channels, some above and some below the
// colours they are blended with, so that swapped channels and sign errors show.
constexpr TColor FormColor = 0x001E90C8;     // blue 1E, green 90, red C8
constexpr TColor PlainColor = 0x00F01040;
constexpr TColor SolidColor = 0x003C8AD2;
constexpr TColor HalfColor = 0x002050C0;
constexpr TColor ThirdColor = 0x00A01060;
constexpr TColor ClearColor = 0x000000FF;
constexpr TColor InkColor = 0x00123456;
constexpr TColor InkFont = 0x00654321;

std::string Line(const char* key, TColor value) { return std::string(key) + "=" + std::to_string(value); }

// One channel seen through a section of transparency t (percent, against 256).
int Through(int t, int parent, int own) { return std::clamp((t * (parent - own) + own * 256) >> 8, 0, 255); }

TColor Through(int t, TColor parent, TColor own) {
    TColor result = 0;
    for (int shift : {0, 8, 16}) {
        const int p = static_cast<int>((parent >> shift) & 0xFF), c = static_cast<int>((own >> shift) & 0xFF);
        result |= static_cast<TColor>(Through(t, p, c)) << shift;
    }
    return result;
}

class ControlColorTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application().OnException = [](const std::exception& e) { ADD_FAILURE() << "reported: " << e.what(); };
        form = new TForm(&Application());
        form->SetBounds(30, 30, 320, 240);
        form->SetColor(FormColor);
        manager = NewElegantManager(form);
        manager->SetCommonSections({"[SOLID]", Line("COLOR", SolidColor), "TRANSPARENCY=0",
                                    "[HALF]", Line("COLOR", HalfColor), "TRANSPARENCY=50",
                                    "[THIRD]", Line("COLOR", ThirdColor), "TRANSPARENCY=30",
                                    "[CLEAR]", Line("COLOR", ClearColor), "TRANSPARENCY=100",
                                    "[SYSTEM]", "COLOR=" + std::to_string(static_cast<std::int32_t>(clBtnFace)),
                                    "[INK]", Line("COLOR", InkColor), Line("FONTCOLOR", InkFont)});
        manager->SetSkinName("Elegant (internal)");
    }
    void TearDown() override {
        delete form;
        Application().OnException = nullptr;
    }
    // A chain of skinned panels, each inside the one before, the first on parent.
    TWinControl* Chain(TWinControl* parent, const std::vector<const char*>& sections) {
        TWinControl* at = parent;
        for (const char* section : sections) {
            auto* p = new TSkinnedPanel(form, section);
            p->SetParent(at);
            at = p;
        }
        return at;
    }
    TForm* form = nullptr;
    TsSkinManager* manager = nullptr;
};

TEST_F(ControlColorTest, SeeThroughSectionsBlendOverWhatTheirParentsAnswer) {
    auto* plain = new TPanel(form);   // a parent without skin state answers with its own colour
    plain->SetParent(form);
    plain->SetColor(PlainColor);
    const TColor half = Through(50, FormColor, HalfColor);
    struct Case { const char* name; TWinControl* parent; std::vector<const char*> chain; TColor expected; };
    const Case cases[] = {
        {"opaque", form, {"SOLID"}, SolidColor},
        {"half over the form", form, {"HALF"}, half},
        {"clear over the form", form, {"CLEAR"}, FormColor},
        {"half over a plain panel", plain, {"HALF"}, Through(50, PlainColor, HalfColor)},
        {"half over opaque", form, {"SOLID", "HALF"}, Through(50, SolidColor, HalfColor)},
        {"third over half", form, {"HALF", "THIRD"}, Through(30, half, ThirdColor)},
        {"third over clear over half", form, {"HALF", "CLEAR", "THIRD"}, Through(30, half, ThirdColor)},
        {"clear over third over half", form, {"HALF", "THIRD", "CLEAR"}, Through(30, half, ThirdColor)},
        {"opaque ends the chain", form, {"HALF", "SOLID", "THIRD"}, Through(30, SolidColor, ThirdColor)},
        {"half over a system colour", form, {"SYSTEM", "HALF"}, Through(50, ColorToRGB(clBtnFace), HalfColor)},
    };
    for (const auto& c : cases) {
        TWinControl* last = Chain(c.parent, c.chain);
        EXPECT_EQ(GetControlColor(last), c.expected) << c.name;
    }
    // An unskinned control answers its own colour, whatever lies behind it.
    auto* loose = new TSkinnedPanel(form, "NO SUCH SECTION");
    loose->SetParent(Chain(form, {"HALF"}));
    loose->SetColor(clBtnFace);
    EXPECT_EQ(GetControlColor(loose), ColorToRGB(clBtnFace));
}

TEST_F(ControlColorTest, EditColoursFollowTheSkinUnlessCustomised) {
    constexpr TColor UserColor = 0x00336699, UserFont = 0x00996633;
    struct Case { bool customColor, customFont; };
    const Case cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const auto& c : cases) {
        const std::string name = std::string(c.customColor ? "color" : "-") + "/" + (c.customFont ? "font" : "-");
        auto* edit = new TSkinnedEdit(form, "INK");
        auto* panel = new TSkinnedPanel(form, "INK");   // not edit-like: its colours are its own
        edit->SetParent(form);
        panel->SetParent(form);
        edit->SkinData.SetCustomColor(c.customColor);
        edit->SkinData.SetCustomFont(c.customFont);
        const auto userColours = [&] {
            for (TControl* control : {static_cast<TControl*>(edit), static_cast<TControl*>(panel)}) {
                control->SetColor(UserColor);
                control->Font().SetColor(UserFont);
            }
        };

        userColours();
        manager->SetSkinName("Elegant (internal)");   // applied
        EXPECT_EQ(edit->Color(), c.customColor ? UserColor : InkColor) << name;
        EXPECT_EQ(edit->Font().Color(), c.customFont ? UserFont : InkFont) << name;
        EXPECT_EQ(panel->Color(), UserColor) << name;
        EXPECT_EQ(panel->Font().Color(), UserFont) << name;

        userColours();
        manager->SetActive(false);   // removed
        EXPECT_EQ(edit->Color(), c.customColor ? UserColor : clWindow) << name;
        EXPECT_EQ(edit->Font().Color(), c.customFont ? UserFont : clWindowText) << name;
        EXPECT_EQ(panel->Color(), UserColor) << name;
        EXPECT_EQ(panel->Font().Color(), UserFont) << name;

        // Giving the colour back to the skin takes the section's colours at once.
        manager->SetActive(true);
        userColours();
        edit->SkinData.SetCustomColor(!c.customColor);
        EXPECT_EQ(edit->Color(), c.customColor ? InkColor : UserColor) << name;
        EXPECT_EQ(edit->Font().Color(), c.customFont ? UserFont : InkFont) << name;   // the font follows either way
        delete edit;
        delete panel;
    }
}

}  // namespace
}  // namespace korvel
