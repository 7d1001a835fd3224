// Index speed: one page of thumbnails painted cold and from the cache, and loading a big group.
#include <benchmark/benchmark.h>

#include <QImage>

#include "index/GoIndex.h"
#include "index/IndexLine.h"

using namespace karvena;

namespace {

std::vector<std::string> ManyLines(int n) {
    std::vector<std::string> lines;
    lines.reserve(n);
    for (int i = 0; i < n; ++i)
        lines.push_back(BuildIndexLine(i % 0x10000, i % 7 == 0, i % 3 == 0, "0", "CCDCECFBGB",
                                       "BCCBDBEAFA", "AB", false));
    return lines;
}

void PaintPage(benchmark::State& state, bool cached) {
    TGoIndex index;
    index.resize(4 * 164, 3 * 164); // 12 thumbnails
    index.SetGames(ManyLines(10000));
    QImage image(index.size(), QImage::Format_RGB32);
    int page = 0;
    for (auto _ : state) {
        if (!cached) index.SetTopRow(1 + (page++ % 500) * 3); // a new page every time
        index.render(&image);
    }
}
void BM_IndexPageCold(benchmark::State& state) {
    PaintPage(state, false);
}
void BM_IndexPageCached(benchmark::State& state) {
    PaintPage(state, true);
}
BENCHMARK(BM_IndexPageCold)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexPageCached)->Unit(benchmark::kMicrosecond);

void BM_SetGames10000(benchmark::State& state) {
    const std::vector<std::string> lines = ManyLines(10000);
    TGoIndexModel model;
    for (auto _ : state)
        model.SetGames(lines);
}
BENCHMARK(BM_SetGames10000)->Unit(benchmark::kMicrosecond);

} // namespace
