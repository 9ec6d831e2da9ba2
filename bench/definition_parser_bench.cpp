// Parsing the launcher's stored window definition (about 1,600 lines) into its
// tree, against walking the same text line by line, measured in the same run;
// the ratio x_split (how many times longer a parse takes) is what to compare
// over time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "gui/definition_parser.h"

using namespace korvel;

namespace {

using TClock = std::chrono::steady_clock;

const std::string& LauncherDefinition() {
    static const std::string text = [] {
        std::ifstream in(KORVEL_SOURCE_DIR "/app/main_window.def", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    return text;
}

// The least any reader does: find every line and count its bytes.
std::size_t WalkLines(std::string_view text) {
    std::size_t total = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        total += end - start;
        start = end + 1;
    }
    return total;
}

double ReferenceSeconds(const std::string& text) {
    constexpr int kRounds = 2000;
    std::size_t sink = 0;
    const auto start = TClock::now();
    for (int i = 0; i < kRounds; ++i) {
        sink += WalkLines(text);
        benchmark::DoNotOptimize(sink);
    }
    return std::chrono::duration<double>(TClock::now() - start).count() / kRounds;
}

void BM_ParseLauncherDefinition(benchmark::State& state) {
    const std::string& text = LauncherDefinition();
    if (text.empty()) {
        state.SkipWithError("app/main_window.def not found");
        return;
    }
    const double reference = ReferenceSeconds(text);
    const auto start = TClock::now();
    for (auto _ : state) {
        TDefinitionObject root = ParseDefinition(text);
        if (root.Children.empty()) state.SkipWithError("the definition parsed to nothing");
        benchmark::DoNotOptimize(root.Children.data());
    }
    const double perParse = std::chrono::duration<double>(TClock::now() - start).count() / double(state.iterations());
    state.counters["x_split"] = perParse / reference;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

}  // namespace

BENCHMARK(BM_ParseLauncherDefinition)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
