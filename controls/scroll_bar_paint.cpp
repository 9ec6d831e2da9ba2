// The skinned scroll bar's painting: the track halves over what lies behind,
// the arrow buttons and their glyphs, the thumb, and the disabled look.
#include "controls/scroll_bar.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/forms.h"
#include "paint/item.h"
#include "paint/mask.h"

namespace korvel {
namespace {

// Copies a w x h block between 24-bit bitmaps, clipped to both.
void CopyBlock(TBitmap24& dest, int dx, int dy, const TBitmap24& source, int sx, int sy, int w, int h) {
    for (int y = 0; y < h; ++y) {
        const int ty = dy + y, fy = sy + y;
        if (ty < 0 || fy < 0 || ty >= dest.Height() || fy >= source.Height()) continue;
        int x0 = std::max({0, -dx, -sx});
        int x1 = std::min({w, dest.Width() - dx, source.Width() - sx});
        if (x1 <= x0) continue;
        std::memcpy(dest.ScanLine(ty) + (dx + x0) * 3, source.ScanLine(fy) + (sx + x0) * 3,
                    static_cast<std::size_t>(x1 - x0) * 3);
    }
}

TMaskFrameSize FrameOf(const TsMaskData& mask) {
    return MaskFrameSize(mask.Bmp != nullptr, mask.R.Width(), mask.R.Height(), mask.ImageCount, mask.MaskType);
}

}  // namespace

// ---- painting -----------------------------------------------------------------------------

void TsScrollBar::Paint(HDC dc) {
    if (SkinChanging && HandleAllocated() && repaintAfterChangeWindow_ != Handle()) {
        // The paints of a skin change all come while it runs, and nothing paints
        // the bar after it: the bar asks for its own paint once the change is over.
        if (PostMessageW(Handle(), WM_REPAINTAFTERSKINCHANGE, 0, 0)) repaintAfterChangeWindow_ = Handle();
    }
    if (suspended_ || !ControlIsReady(this) || SkinChanging || IsLoading() || InState(csDestroying)) return;
    SkinData.Updating = SkinData.IsUpdating();
    if (SkinData.Updating) return;
    const TsSkinTables* tables = SkinData.Tables();
    if (!tables || Width() <= 0 || Height() <= 0) return;
    try {
        repaintNeeded_ = false;
        SkinData.PrepareCacheBmp();
        TBitmap24& cache = *SkinData.CacheBmp();
        const bool horizontal = kind_ == sbHorizontal;
        const TsCachedIndexes& ci = tables->CachedIndexes;

        // What lies behind the bar.
        TParentBackground bg;
        const bool linkedIsForm = dynamic_cast<TForm*>(linkedControl_) != nullptr;
        if (linkedControl_) {
            ParentBackground.Ready = 0;
            SkinCommandToControl(linkedControl_, SMC_GETCACHE);
            if (ParentBackground.Ready) {
                bg = ParentBackground;
                if (!linkedIsForm) {
                    bg.OffsetX -= linkedControl_->Left();
                    bg.OffsetY -= linkedControl_->Top();
                }
            } else if (!linkedIsForm && HandleAllocated()) {
                // The control the bar stands over has not composed its face yet:
                // the bar's see-through pixels would show its own colour. It paints
                // once that work is over (the face's composition asks again).
                if (repaintAfterChangeWindow_ != Handle() && PostMessageW(Handle(), WM_REPAINTAFTERSKINCHANGE, 0, 0))
                    repaintAfterChangeWindow_ = Handle();
                return;
            }
            ParentBackground.Ready = 0;
        } else {
            SkinData.GetParentCache(bg);
        }

        const TScrollGeometry g = Geometry();
        const int centre = ScrollThumbCentre(g);
        const auto trackState = [&](TScrollPart part) {
            if (!Enabled()) return 0;
            const int s = parts_.State(part);
            return s != 0 ? s : SkinData.IsActive() ? 1 : 0;
        };
        const auto paintPart = [&](const TsScrollPartIndexes& idx, const TParentBackground& behind, TBitmap24& into,
                                   TPoint point, TRect rect, int state) {
            PaintSection(idx.SkinIndex, behind, tables, into, point, rect, state, true, idx.Pattern, idx.HotPattern,
                         idx.BordersMask);
        };

        // Track halves, over what lies behind.
        const TsScrollPartIndexes& track1 = ci.ScrollBars[horizontal ? sb1H : sb1V];
        const TsScrollPartIndexes& track2 = ci.ScrollBars[horizontal ? sb2H : sb2V];
        const RECT half1 = Span(0, centre), half2 = Span(centre, g.Along);
        if (half1.right > half1.left && half1.bottom > half1.top)
            paintPart(track1, bg, cache, {Left(), Top()}, {half1.left, half1.top, half1.right, half1.bottom},
                      trackState(spFirstTrack));
        if (half2.right > half2.left && half2.bottom > half2.top)
            paintPart(track2, bg, cache, {Left() + half2.left, Top() + half2.top},
                      {half2.left, half2.top, half2.right, half2.bottom}, trackState(spSecondTrack));

        TBitmap24 copy;
        if (!Enabled()) copy = cache.Clone();
        TBitmap24& target = Enabled() ? cache : copy;
        // A button or the thumb is painted on a piece of its own over the track:
        // what its transparent parts show is the track at the same place.
        const auto paintOverTrack = [&](const TsScrollPartIndexes& idx, const RECT& r, int state) {
            const int w = r.right - r.left, h = r.bottom - r.top;
            if (w <= 0 || h <= 0 || !tables->IsValidSectionIndex(idx.SkinIndex)) return;
            TBitmap24 piece(w, h);
            CopyBlock(piece, 0, 0, target, r.left, r.top, w, h);
            paintPart(idx, TParentBackground{&target, 0, 0, true}, piece, {r.left, r.top}, {0, 0, w, h}, state);
            CopyBlock(target, r.left, r.top, piece, 0, 0, w, h);
        };

        // Arrow buttons over the track, each with its glyph centred in its hit rectangle.
        const int hit = ScrollButtonLength(g);
        int painted[2] = {hit, hit};
        const TsScrollPartIndexes* buttons[2] = {&ci.ScrollButtons[horizontal ? sbLeft : sbTop],
                                                 &ci.ScrollButtons[horizontal ? sbRight : sbBottom]};
        for (int i = 0; i < 2; ++i) {
            const TsScrollPartIndexes& idx = *buttons[i];
            if (!tables->IsValidSectionIndex(idx.SkinIndex)) continue;
            const TsGeneralData& section = tables->Sections[static_cast<std::size_t>(idx.SkinIndex)];
            if (section.ReservedBoolean && tables->IsValidMaskIndex(idx.BordersMask)) {
                const TMaskFrameSize f = FrameOf(tables->Masks[static_cast<std::size_t>(idx.BordersMask)]);
                painted[i] = std::max(hit, horizontal ? f.Width : f.Height);
            }
            const TScrollPart part = i == 0 ? spFirstButton : spSecondButton;
            const int state = parts_.State(part);
            const RECT pr = i == 0 ? Span(0, painted[i]) : Span(g.Along - painted[i], g.Along);
            paintOverTrack(idx, pr, state);
            if (!tables->IsValidMaskIndex(idx.GlyphMask)) continue;
            const TsMaskData& glyph = tables->Masks[static_cast<std::size_t>(idx.GlyphMask)];
            const TMaskFrameSize f = FrameOf(glyph);
            if (glyph.Bmp && (horizontal ? f.Width : f.Height) >= hit) continue;
            const RECT hr = i == 0 ? FirstButtonRect() : SecondButtonRect();
            const int x = hr.left + (hr.right - hr.left - f.Width) / 2;
            const int y = hr.top + (hr.bottom - hr.top - f.Height) / 2;
            if (x >= 0 && y >= 0) DrawSkinGlyph(target, {x, y}, state, *tables, glyph, 1);
        }

        // The thumb, when the bar leaves it room.
        const int t = ScrollThumbLength(g);
        const bool hidden = !Enabled() && linkedControl_ && linkedControl_->Enabled();
        if (!hidden && g.Along - painted[0] - painted[1] >= t) {
            const RECT tr = ThumbRect();
            const int w = tr.right - tr.left, h = tr.bottom - tr.top;
            const TsScrollPartIndexes& idx = ci.ScrollSliders[horizontal ? ssHorizontal : ssVertical];
            const int state = parts_.State(spThumb);
            paintOverTrack(idx, tr, state);
            if (tables->IsValidMaskIndex(idx.GlyphMask)) {
                const TsMaskData& glyph = tables->Masks[static_cast<std::size_t>(idx.GlyphMask)];
                const TMaskFrameSize f = FrameOf(glyph);
                const int half = horizontal ? glyph.R.Width() / 2 : glyph.R.Height() / 2;
                if (!glyph.Bmp || half < t) {
                    const int shift = state == 2 ? 1 : 0;
                    DrawSkinGlyph(target, {tr.left + (w - f.Width) / 2 + shift, tr.top + (h - f.Height) / 2 + shift},
                                  state, *tables, glyph, 1);
                }
            }
        }

        // The disabled look.
        if (!Enabled()) {
            if (linkedControl_) {
                if (bg.Ready) {
                    DisabledLook(target, disabledKind_, ColorToRGB(Color()), {Left(), Top()}, bg);
                } else {
                    const int i = ci.ScrollBars[sb1H].SkinIndex;
                    const TColor c = tables->IsValidSectionIndex(i) ? tables->Sections[static_cast<std::size_t>(i)].Color
                                                                    : ColorToRGB(Color());
                    FadeRectToColor(target, {0, 0, Width() + 1, Height() + 1}, 60, 0, 0, c);
                }
            } else {
                TParentBackground parent;
                SkinData.GetParentCache(parent);
                DisabledLook(target, disabledKind_, ColorToRGB(Color()), {Left(), Top()}, parent);
            }
        }

        if (target.Handle()) {
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(target.Handle()));
            BitBlt(dc, 0, 0, Width(), Height(), memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
        SkinData.BackgroundChanged = false;
    } catch (const std::exception&) {
        // A failed paint simply ends; the next one tries again.
    }
}

void TsScrollBar::OnPaintMessage(TMessage& m) {
    PAINTSTRUCT ps{};
    const bool own = m.WParam == 0;
    HDC dc = own ? BeginPaint(Handle(), &ps) : reinterpret_cast<HDC>(m.WParam);
    Paint(dc);
    if (own) EndPaint(Handle(), &ps);
    m.Result = 0;
}

}  // namespace korvel
