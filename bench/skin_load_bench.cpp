// Loading a folder skin of 60 sections (and GLOBALINFO), 80 masks (20 of them bitmaps of their
// own) and one 640x480 JPEG pattern, against reading the same files' bytes.
// Both are measured in the same run; the ratio is what to compare over time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "skin/picture_decode.h"
#include "skin/skin_loader.h"
#include "tests/core/skin_test_support.h"

using namespace korvel;

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const testing::TBytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Busy pictures, so decoding does real work.
testing::TBytes Bmp24(int width, int height) {
    return testing::MakeBmp(width, height, 24, false, [](int x, int y) { return std::uint32_t(x * 7 + y * 131) * 0x010101u; });
}

testing::TBytes Jpeg(int width, int height) {
    return testing::MakeJpeg(width, height, [](int x, int y) { return std::uint32_t((x * 3) ^ y) * 0x010203u & 0xFFFFFFu; }, 85);
}

// The skin folder, written once for the whole run.
struct TBenchSkin {
    fs::path root;
    std::vector<fs::path> files;

    TBenchSkin() {
        root = fs::temp_directory_path() / ("korvel-skin-bench-" + std::to_string(::getpid()));
        const fs::path folder = root / "skins" / "Bench";
        fs::create_directories(folder);
        std::string options = "[GLOBALINFO]\nVERSION=5.1\nAUTHOR=bench\nMASTERBITMAP=master.bmp\n";
        WriteFile(folder / "master.bmp", Bmp24(400, 400));
        WriteFile(folder / "pattern.jpg", Jpeg(640, 480));
        int masks = 0;
        for (int s = 0; s < 60; ++s) {
            options += "[SECTION" + std::to_string(s) + "]\n";
            if (s > 0) options += "PARENTCLASS=SECTION" + std::to_string(s / 2) + "\n";
            options += "COLOR=" + std::to_string(s * 1000) + "\nGRADIENTPERCENT=50\n"
                       "GRADIENTDATA=12632256;16777215;50;0;0;16777215;6579300;50;0;0\nFADINGENABLED=TRUE\n";
            if (s == 0) options += "PATTERN=pattern.jpg\n";
            // 80 masks over the 60 sections: every fourth one a bitmap of its own.
            for (int k = 0; k < (s < 20 ? 2 : 1); ++k, ++masks) {
                char value[64];
                if (masks % 4 == 0) {
                    const std::string name = "MASK" + std::to_string(masks) + ".BMP";
                    WriteFile(folder / name, Bmp24(48, 24));
                    std::snprintf(value, sizeof value, "!%s!3!1!0", name.c_str());
                } else {
                    std::snprintf(value, sizeof value, "@%04d,%04d,%04d,%04d,3,1", masks, masks, masks + 30, masks + 20);
                }
                options += (k == 0 ? "BORDERSMASK=" : "GLYPHMASK=") + std::string(value) + "\n";
            }
        }
        std::ofstream(folder / "Options.dat") << options;
        for (const auto& e : fs::directory_iterator(folder)) files.push_back(e.path());
    }
    ~TBenchSkin() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

TBenchSkin& Skin() {
    static TBenchSkin skin;
    return skin;
}

std::size_t ReadAllFiles() {
    std::size_t total = 0;
    for (const fs::path& file : Skin().files) {
        std::ifstream in(file, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        total += bytes.size();
    }
    return total;
}

using TClock = std::chrono::steady_clock;

// Median time of reading every file of the skin, in seconds.
double ReferenceSeconds() {
    std::vector<double> times;
    for (int i = 0; i < 9; ++i) {
        const auto start = TClock::now();
        benchmark::DoNotOptimize(ReadAllFiles());
        times.push_back(std::chrono::duration<double>(TClock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void BM_LoadFolderSkin(benchmark::State& state) {
    TsSkinLoadRequest request;
    request.SkinDirectory = "skins";
    request.SkinName = "Bench";
    request.ProgramFolder = Skin().root.string() + "/";
    TsSkinTables tables;
    const double reference = ReferenceSeconds();
    const auto start = TClock::now();
    for (auto _ : state) {
        TsSkinLoadReport report;
        LoadSkin(request, tables, report);
        if (tables.Sections.size() != 61 || tables.Masks.size() != 80 || tables.Patterns.size() != 1)
            state.SkipWithError("the skin did not load as written");
        benchmark::DoNotOptimize(tables.Masks.data());
    }
    const double perLoad = std::chrono::duration<double>(TClock::now() - start).count() / double(state.iterations());
    // How many times longer a load takes than reading its files' bytes.
    state.counters["x_read_bytes"] = perLoad / reference;
}

// The reference: reading the bytes of the same files.
void BM_ReadSkinFiles(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ReadAllFiles());
}

// The parts, to say what dominates.
void BM_DecodePatternJpeg(benchmark::State& state) {
    std::ifstream in(Skin().root / "skins" / "Bench" / "pattern.jpg", std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto _ : state) benchmark::DoNotOptimize(DecodeJpeg(bytes).Bitmap.Width());
}

}  // namespace

BENCHMARK(BM_ReadSkinFiles)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadFolderSkin)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DecodePatternJpeg)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
