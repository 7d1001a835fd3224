// The same problem played through the real board widget, with QTest clicks, gives the same
// events as the headless run.
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>

#include "board/GoGame.h"
#include "collection/Archive.h"
#include "text/Texts.h"
#include "solving/PlaySession.h"

namespace karvena {
namespace {

std::vector<std::string> Play(TGoBoard& board, std::function<TClickResult(int, int)> click,
                              const TProblemStore& problems,
                              const std::vector<std::string>& words) {
    const std::string history = ::testing::TempDir() + "/widget-play.cds";
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(history + suffix);
    TPlaySession session(board, problems, history);
    if (click) session.Click = click;
    EXPECT_TRUE(session.Load(1));
    for (const std::string& word : words)
        session.Word(word);
    return session.Take();
}

TEST(SolveThroughTheWidget, SameEventsAsHeadless) {
    SetLanguageFlags(TLanguage::English);
    const TArchiveRead read = ReadArchiveMember(KARVENA_ARCHIVE);
    ASSERT_EQ(read.Error, TArchiveError::None);
    TProblemStore problems;
    ASSERT_TRUE(problems.Open(read.Bytes));
    const std::vector<std::string> words = {"CA", "back", "SS", "hint", "BA", "next", "AA"};

    TGoBoard headless;
    const std::vector<std::string> expected = Play(headless, nullptr, problems, words);

    TGoGame widget;
    widget.ApplyMainFormPreset();
    widget.show();
    auto click = [&widget](int P, int Q) {
        const size_t before = widget.Process().size();
        QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier,
                          QPoint(widget.Geometry().X(P), widget.Geometry().Y(Q)));
        return widget.Process().size() > before ? TClickResult::Move : TClickResult::RefusedMove;
    };
    const std::vector<std::string> seen = Play(widget, click, problems, words);
    EXPECT_EQ(seen, expected);
    EXPECT_GT(expected.size(), 20u);
    EXPECT_EQ(widget.Process(), headless.Process());
    SetLanguageFlags(TLanguage::SimplifiedChinese);
}

} // namespace
} // namespace karvena
