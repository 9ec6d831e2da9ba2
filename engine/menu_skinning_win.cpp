// The factory of the menu skinning and the source of forms' menu lines.
#include "engine/menu_skinning.h"

namespace korvel {

namespace {

TMenuSkinningFactory& Factory() {
    static TMenuSkinningFactory factory;
    return factory;
}

TMenuLineSource& LineSource() {
    static TMenuLineSource source;
    return source;
}

TMDIChildIconSource& ChildIconSource() {
    static TMDIChildIconSource source;
    return source;
}

}  // namespace

void SetMenuSkinningFactory(TMenuSkinningFactory factory) { Factory() = std::move(factory); }

std::unique_ptr<TacMenuSkinning> MakeMenuSkinning(TsSkinManager* manager) {
    std::unique_ptr<TacMenuSkinning> made;
    if (Factory()) made = Factory()(manager);
    return made ? std::move(made) : std::make_unique<TacMenuSkinning>();
}

void SetMenuLineSource(TMenuLineSource source) { LineSource() = std::move(source); }

bool MenuLineOf(TForm* form, TMenuLineBackground& line) {
    line = {};
    return LineSource() && form && LineSource()(form, line) && line.Bitmap;
}

void SetMDIChildIconSource(TMDIChildIconSource source) { ChildIconSource() = std::move(source); }

bool MDIChildIconShown(TForm* frame) { return ChildIconSource() && frame && ChildIconSource()(frame); }

}  // namespace korvel
