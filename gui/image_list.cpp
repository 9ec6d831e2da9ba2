#include "gui/image_list.h"

#include <algorithm>
#include <cstring>

#include "gui/exceptions.h"
#include "gui/text.h"

namespace korvel {

void TCustomImageList::SetSize(int width, int height) {
    if (width < 1 || height < 1) throw EInvalidOperation("An image list needs a size of at least 1 x 1");
    width_ = width;
    height_ = height;
    images_.clear();
    if (OnChange) OnChange(this);
}

int TCustomImageList::Add(const TBitmap24& image) {
    if (image.Width() != width_ || image.Height() != height_) {
        throw EInvalidOperation(FormatText("A picture of %s x %s does not fit an image list of %s x %s",
                                           {std::to_string(image.Width()), std::to_string(image.Height()),
                                            std::to_string(width_), std::to_string(height_)}));
    }
    images_.push_back(image.Clone());
    if (OnChange) OnChange(this);
    return Count() - 1;
}

void TCustomImageList::Draw(TBitmap24& dest, int x, int y, int index) const {
    if (index < 0 || index >= Count()) return;
    const TBitmap24& image = images_[static_cast<std::size_t>(index)];
    const int left = std::max(0, -x), top = std::max(0, -y);
    const int right = std::min(image.Width(), dest.Width() - x), bottom = std::min(image.Height(), dest.Height() - y);
    if (right <= left || bottom <= top) return;
    for (int row = top; row < bottom; ++row)
        std::memcpy(dest.ScanLine(y + row) + (x + left) * 3, image.ScanLine(row) + left * 3,
                    static_cast<std::size_t>(right - left) * 3);
}

}  // namespace korvel
