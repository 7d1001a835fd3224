// The trainer's answers in a large collection: opening a problem of 10,000, and a click answered
// end to end (the rules, the tree, the reply, and the repaint of the cells it changed).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "board/Artwork.h"
#include "board/BoardPainter.h"
#include "board/GoGame.h"
#include "collection/CollectionBuilder.h"
#include "collection/SgfImport.h"
#include "collection/SolutionBlob.h"
#include "solving/PlaySession.h"
#include "text/Texts.h"

using namespace karvena;

namespace {

// 10,000 problems in one group, each its own position with a two-level tree.
const TProblemStore& LargeStore() {
    static TProblemStore store;
    static bool made = false;
    if (made) return store;
    made = true;
    TProblemTableWriter writer;
    for (int i = 0; i < 10000; ++i) {
        const char black[3] = {static_cast<char>('j' + i % 10), static_cast<char>('j' + i / 10 % 10), 0};
        const char white[3] = {static_cast<char>('j' + i / 100 % 10), static_cast<char>('a' + i / 1000), 0};
        const std::string sgf = std::string("(;AB[ba][bb][cb][") + black + "]AW[ca][db][dc][" +
                                white + "](;B[aa];W[ea](;B[fa]C[Correct])(;B[ga]))(;B[da];W[aa]))";
        TImportedProblem imported =
            std::move(ImportSgf(*ReadSgf(sgf, "g").File, "g").Problems.at(0));
        TProblemRow row = imported.Row;
        row.Auto1 = row.Num = i + 1;
        row.Group1 = 2;
        row.Level1 = 30;
        row.Solution = SaveSolution(imported.Tree);
        writer.Add(row);
    }
    store.Open(writer.Image());
    return store;
}

std::string History(const char* name) {
    const std::string path =
        (std::filesystem::temp_directory_path() / (std::string("karvena-bench-") + name)).string();
    std::filesystem::remove(path);
    return path;
}

void BM_OpenProblemOfTenThousand(benchmark::State& state) {
    SetLanguageFlags(TLanguage::English);
    TGoBoard board;
    ApplyMainFormPreset(board);
    TPlaySession session(board, LargeStore(), History("open.cds"));
    session.Load(1); // the group listed once, as opening the group does
    int position = 0;
    for (auto _ : state) {
        position = (position + 997) % 10000;
        benchmark::DoNotOptimize(session.Loop().LoadProblem(position));
        session.Take();
    }
}
BENCHMARK(BM_OpenProblemOfTenThousand)->Unit(benchmark::kMicrosecond);

// A correct first move: the board takes it, the tree answers, the reply is played, and the cells
// the two moves changed are repainted into an image, as the widget would.
void BM_ClickAnswered(benchmark::State& state) {
    SetLanguageFlags(TLanguage::English);
    TGoGame board;
    board.ApplyMainFormPreset();
    TPlaySession session(board, LargeStore(), History("click.cds"));
    session.Load(5000);
    QImage image(board.size(), QImage::Format_RGB32);
    const TArtwork& art = TArtwork::For(1);
    const TBoardGeometry& g = board.Geometry();
    for (auto _ : state) {
        session.Word("AA");
        // What the move and the reply invalidated: their cells and the previous last move's.
        QRegion dirty;
        for (const auto& [p, q] : {std::pair{1, 1}, std::pair{5, 1}})
            dirty += TBoardPainter::CellRect(g, p, q);
        QPainter painter(&image);
        painter.setClipRegion(dirty);
        TBoardPainter(painter, board, g, art, image.size(), Qt::gray).PaintAll(dirty.boundingRect());
        painter.end();
        state.PauseTiming();
        session.Take();
        session.Loop().SolveAgain();
        session.Take();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ClickAnswered)->Unit(benchmark::kMicrosecond);

} // namespace
