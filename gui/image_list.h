#pragma once
// A list of pictures of one size, drawn by index (the alternative glyph source
// of skinned controls).
#include <string>
#include <vector>

#include "gui/bitmap24.h"
#include "gui/component.h"

namespace korvel {

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* owner) : TComponent(owner) {}
    std::string ClassName() const override { return "TCustomImageList"; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A new size empties the list.
    void SetSize(int width, int height);
    int Count() const { return static_cast<int>(images_.size()); }
    // Appends a picture of the list's size and answers its index; a picture of
    // another size throws EInvalidOperation and leaves the list as it was.
    int Add(const TBitmap24& image);
    // Copies picture index to (x, y) of dest, clipped to dest; an index outside
    // the list draws nothing.
    void Draw(TBitmap24& dest, int x, int y, int index) const;

    TNotifyEvent OnChange;

private:
    int width_ = 16;
    int height_ = 16;
    std::vector<TBitmap24> images_;
};

}  // namespace korvel
