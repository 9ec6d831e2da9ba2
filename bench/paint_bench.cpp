// Speed of the painting core on a 329 x 281 frame, each routine beside memcpy of
// the same number of bytes measured in the same run (the "vs_memcpy" counter is
// the routine's throughput divided by memcpy's: 0.25 means a quarter as fast).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <random>
#include <vector>

#include "paint/blend.h"
#include "paint/item.h"
#include "paint/mask.h"

using namespace korvel;

namespace {

constexpr int kWidth = 329, kHeight = 281;

TBitmap24 RandomBitmap(int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    TBitmap24 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * 3; ++x) b.ScanLine(y)[x] = static_cast<std::uint8_t>(rng());
    return b;
}

// Seconds per memcpy of the frame's pixel bytes, measured now (cache-warm, like the
// routines): the fastest of 25 batches of 20 copies. The routines' times are CPU
// times; the fastest batch is the one another process on the machine disturbed least.
double MemcpySeconds(std::size_t bytes) {
    std::vector<std::uint8_t> a(bytes, 1), b(bytes, 2);
    const int batches = 25, rounds = 20;
    double best = 0;
    for (int batch = 0; batch < batches; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < rounds; ++i) {
            std::memcpy(b.data(), a.data(), bytes);
            benchmark::DoNotOptimize(b.data());
            benchmark::ClobberMemory();
            a[(batch * rounds + i) % bytes] ^= 1;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
        if (batch == 0 || seconds < best) best = seconds;
    }
    return best;
}

void Report(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    // Divided by the elapsed time: memcpy's time per frame over the routine's, i.e. the throughput ratio.
    state.counters["vs_memcpy"] =
        benchmark::Counter(MemcpySeconds(bytes) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// A small synthetic skin: a master bitmap with a 3-state frame with transparency
// (like a button) and a colour-only frame (like a panel), and two sections.
TsSkinTables SyntheticSkin() {
    TsSkinTables t;
    t.MasterBitmap = RandomBitmap(180, 120, 5);
    for (int x = 0; x < 180; ++x) t.MasterBitmap.SetPixel(x, 0, clNone);   // rounded-corner key pixels
    TsMaskData button;
    button.R = {0, 0, 90, 60};
    button.ImageCount = 3;
    button.MaskType = 1;
    t.Masks.push_back(button);
    TsMaskData panel;
    panel.R = {90, 0, 120, 30};
    panel.ImageCount = 1;
    panel.MaskType = 0;
    t.Masks.push_back(panel);
    TsGeneralData p;
    p.SectionName = "PANEL";
    p.Color = 0x00DBDBDB;
    p.GradientPercent = 100;
    p.GradientData = "13816530;11579568;110;0;0;11579568;11579568;0;0;0";
    p.GradientArray = ParseGradientData(p.GradientData);
    t.Sections.push_back(p);
    TsGeneralData b = p;
    b.SectionName = "BUTTON";
    b.Transparency = 30;
    b.GradientPercent = 60;
    b.GradientData = "15066597;10790052;50;0;0;10790052;10790052;0;0;0";
    b.GradientArray = ParseGradientData(b.GradientData);
    t.Sections.push_back(b);
    return t;
}

constexpr std::size_t kFrameBytes = std::size_t(kWidth) * kHeight * 3;

void BM_BlendBitmap(benchmark::State& state) {
    TBitmap24 dest = RandomBitmap(kWidth, kHeight, 1), source = RandomBitmap(kWidth, kHeight, 2);
    for (auto _ : state) {
        BlendBitmap(dest, source, 153);
        benchmark::DoNotOptimize(dest.ScanLine(0));
    }
    Report(state, kFrameBytes);
}

// 0: the disabled look (factor 0.4, no key colour); 1: a pale glyph (factor 0.5,
// the key colour left out, one pixel in eight a key pixel).
void BM_BlendOver(benchmark::State& state) {
    TBitmap24 dest = RandomBitmap(kWidth, kHeight, 1), source = RandomBitmap(kWidth, kHeight, 2);
    const bool keyed = state.range(0) == 1;
    if (keyed)
        for (int y = 0; y < kHeight; ++y)
            for (int x = y % 8; x < kWidth; x += 8) source.SetPixel(x, y, clNone);
    for (auto _ : state) {
        BlendOver(dest, 0, 0, keyed ? clNone : clNoKey, keyed ? 0.5 : 0.4, {0, 0, kWidth - 1, kHeight - 1}, source);
        benchmark::DoNotOptimize(dest.ScanLine(0));
    }
    Report(state, kFrameBytes);
}

void BM_DrawMaskPiece(benchmark::State& state) {
    TsSkinTables skin;
    skin.MasterBitmap = RandomBitmap(kWidth, kHeight * 2, 3);
    TsMaskData m;
    m.R = {0, 0, kWidth, kHeight * 2};
    m.ImageCount = 1;
    m.MaskType = 1;
    TMaskImage image;
    GetMaskImage(skin, m, image);
    TBitmap24 dest = RandomBitmap(kWidth, kHeight, 4);
    for (auto _ : state) {
        DrawMaskPiece({0, 0, kWidth, kHeight}, {0, 0, kWidth, kHeight}, dest, image, {});
        benchmark::DoNotOptimize(dest.ScanLine(0));
    }
    Report(state, kFrameBytes);
}

void BM_DrawSkinRect(benchmark::State& state) {
    TsSkinTables skin = SyntheticSkin();
    TBitmap24 dest = RandomBitmap(kWidth, kHeight, 4), parent = RandomBitmap(kWidth + 20, kHeight + 20, 6);
    const TParentBackground bg{&parent, 5, 5, true};
    const int mask = static_cast<int>(state.range(0));
    for (auto _ : state) {
        DrawSkinRect(dest, {0, 0, kWidth, kHeight}, true, bg, 1, skin, skin.Masks[mask]);
        benchmark::DoNotOptimize(dest.ScanLine(0));
    }
    Report(state, kFrameBytes);
}

void BM_PaintItem(benchmark::State& state) {
    TsSkinTables skin = SyntheticSkin();
    const int section = static_cast<int>(state.range(0));
    TItemSource source;
    source.Tables = &skin;
    source.SkinIndex = section;
    source.BorderIndex = section == 0 ? 1 : 0;
    source.NeedsParentRepaint = true;
    TBitmap24 dest(kWidth, kHeight), parent = RandomBitmap(kWidth + 20, kHeight + 20, 6);
    const TParentBackground bg{&parent, 5, 5, true};
    for (auto _ : state) {
        PaintItem(source, bg, true, dest, {3, 3}, {0, 0, kWidth, kHeight}, 0);
        benchmark::DoNotOptimize(dest.ScanLine(0));
    }
    Report(state, kFrameBytes);
}

}  // namespace

BENCHMARK(BM_BlendBitmap);
BENCHMARK(BM_BlendOver)->Arg(0)->Arg(1)->ArgName("keyed");
BENCHMARK(BM_DrawMaskPiece);
BENCHMARK(BM_DrawSkinRect)->Arg(0)->Arg(1)->ArgName("mask");   // 0: transparency frame, 1: colour-only frame
BENCHMARK(BM_PaintItem)->Arg(0)->Arg(1)->ArgName("section");   // 0: panel-like, 1: button-like

BENCHMARK_MAIN();
