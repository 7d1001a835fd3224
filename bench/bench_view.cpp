// Painting speed: a full repaint of the board at two radii, and the repaint one move causes.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "board/Artwork.h"
#include "board/BoardPainter.h"
#include "board/GoGame.h"

using namespace karvena;

namespace {

void SetUpGame(TGoGame& board, int radius) {
    board.SetRadius(static_cast<int16_t>(radius));
    board.SetProcess("DDPPDPPDQFFQCNNQJDDJQJJQ");
    board.NumberPoints(board.Process(), 1);
    board.MarkPoints("KKLL", 0x8000);
}

void BM_FullRepaint(benchmark::State& state) {
    TGoGame board;
    SetUpGame(board, static_cast<int>(state.range(0)));
    QImage image(board.size(), QImage::Format_RGB32);
    const TArtwork& art = TArtwork::For(1);
    for (auto _ : state) {
        QPainter p(&image);
        TBoardPainter(p, board, board.Geometry(), art, image.size(), Qt::gray)
            .PaintAll(image.rect());
    }
}
BENCHMARK(BM_FullRepaint)->Arg(7)->Arg(18)->Unit(benchmark::kMicrosecond);

// A move repaints the previous last move, the new stone, and the turn arrow.
void BM_MoveRepaint(benchmark::State& state) {
    TGoGame board;
    SetUpGame(board, 7);
    QImage image(board.size(), QImage::Format_RGB32);
    const TArtwork& art = TArtwork::For(1);
    {
        QPainter p(&image);
        TBoardPainter(p, board, board.Geometry(), art, image.size(), Qt::gray)
            .PaintAll(image.rect());
    }
    for (auto _ : state) {
        QPainter p(&image);
        TBoardPainter painter(p, board, board.Geometry(), art, image.size(), Qt::gray);
        painter.PaintPoint(10, 10);
        painter.PaintLastMove(10, 10);
        painter.PaintPoint(4, 4);
        painter.PaintArrow();
    }
}
BENCHMARK(BM_MoveRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
