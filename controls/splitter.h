#pragma once
// TsSplitter: the skinned splitter. Its face is its section (SPLITTER) painted
// over the parent's pixels, hot while the pointer is over it or drags it; a
// skin without the section shows the parent's background where the splitter
// stands (the splitter is a gap between two controls first), and without an
// active skin it is the framework's plain bar. It does not fade: it is
// windowless, and its look changes as the pointer reaches it.
#include <memory>
#include <string>

#include "engine/common_data.h"
#include "gui/bar_controls.h"

namespace korvel {

constexpr std::uint32_t ccSplitter = 75;

class TsSplitter : public TSplitter {
public:
    explicit TsSplitter(TComponent* owner);
    ~TsSplitter() override;
    std::string ClassName() const override { return "TsSplitter"; }

    TsCommonData& SkinData() { return *skinData_; }
    const TsCommonData& SkinData() const { return *skinData_; }

    // 1 while under the pointer or dragged, else 0.
    int StateIndex() const;

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
    void Loaded() override;

private:
    bool SkinIsActive() const;
    void RebuildCache();

    std::unique_ptr<TsCommonData> skinData_;
};

// Registers TsSplitter and its stored properties (once).
void RegisterSplitterClass();

}  // namespace korvel
