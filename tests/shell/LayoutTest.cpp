// The board, the panels and the window as sizes change: the fit of the board, zoom, the
// splitter, and where the window and its hint windows open.
#include <gtest/gtest.h>

#include <QScreen>
#include <QMouseEvent>
#include <QSplitter>

#include "shell/Splash.h"
#include "shell/TrainerFixture.h"

namespace karvena::test {
namespace {

class Layout : public TTrainerFixture {
protected:
    // The small problems, and problem 5 (group 3) whose first move is flagged bad.
    std::vector<TProblemRow> Problems() override {
        std::vector<TProblemRow> rows = SmallProblems();
        rows.push_back(
            ImportedRow("(;AB[dd]AW[ca][bb];B[aa]BM[1];W[jj];B[ba]C[Correct])", 5, 3));
        // Group 4: both replies to AA are correct ends, so each line ends with Black to move.
        rows.push_back(
            ImportedRow("(;AB[dd]AW[ee];B[aa](;W[ba]C[Correct])(;W[ab]C[Correct]))", 6, 4));
        return rows;
    }
    void OpenProblem() {
        OpenWindow();
        ClickThumbnail(1, 1);
        ASSERT_EQ(window->Pages->currentWidget(), window->tsProblem);
    }
    void Resize(int width, int height) {
        window->resize(width, height);
        QApplication::processEvents();
    }
    TGoGame* Board() { return window->GoGame1; }
    // True when the whole board with its letters and frame lies inside the control.
    bool BoardFits() {
        return Board()->BoardHeight() <= Board()->height() &&
               Board()->BoardWidth() + Board()->DisplayWidth() * Board()->DisplayInfo() <=
                   Board()->width();
    }
};

// Whatever the window's size, the board that fills its panel fits its control whole, up to the
// 840-pixel cap of a large window.
TEST_F(Layout, TheFittedBoardFitsItsControl) {
    // The first fit of a large window, from the board's first radius.
    OpenWindow();
    Resize(1920, 1040);
    ClickThumbnail(1, 1);
    EXPECT_TRUE(BoardFits()) << "board " << Board()->BoardHeight() << " in " << Board()->height();
    for (const QSize size : {QSize(1920, 1040), QSize(1600, 1000), QSize(1000, 720),
                             QSize(1280, 900), QSize(1920, 1040)}) {
        Resize(size.width(), size.height());
        EXPECT_TRUE(BoardFits()) << size.width() << "x" << size.height() << ": board "
                                 << Board()->BoardHeight() << " in " << Board()->height();
    }
    EXPECT_LE(Board()->height(), 840);
    EXPECT_GE(Board()->BoardHeight(), 800) << "the largest radius that fits";
}

// Zoom in on a board whose fitted radius cannot grow changes nothing; a zoom that does grow it
// detaches the board and enables Zoom out, which re-attaches it at the fitted radius.
TEST_F(Layout, ZoomInChangesNothingWhenTheRadiusCannotGrow) {
    OpenProblem();
    Resize(1920, 1040);
    const int fitted = Board()->Radius();
    ASSERT_GE(fitted, 18);
    window->Item(TCommand::miZoomin1)->trigger();
    EXPECT_EQ(Board()->Radius(), fitted);
    EXPECT_EQ(Board()->DisplayInfo(), 1) << "the panel stays";
    EXPECT_FALSE(window->Item(TCommand::miZoomout1)->isEnabled());
    Resize(1000, 720);
    EXPECT_LT(Board()->Radius(), fitted) << "the board still follows the window";

    const int small = Board()->Radius();
    window->Item(TCommand::miZoomin1)->trigger();
    EXPECT_GT(Board()->Radius(), small);
    EXPECT_TRUE(window->Item(TCommand::miZoomout1)->isEnabled());
    while (Board()->Radius() > small) window->Item(TCommand::miZoomout1)->trigger();
    EXPECT_EQ(Board()->DisplayInfo(), 1);
    EXPECT_FALSE(window->Item(TCommand::miZoomout1)->isEnabled()) << "attached again: nothing to undo";
}

// The window opens where it was closed, exactly, and a stored size larger than the screen is
// fitted to the screen's free area.
TEST_F(Layout, TheWindowOpensWhereItWasClosedAndOnItsScreen) {
    Store("Left", "30");
    Store("Top", "40");
    Store("Width", "600");
    Store("Height", "450");
    OpenSize = QSize();
    OpenWindow();
    EXPECT_EQ(window->geometry().size(), QSize(600, 450));
    EXPECT_EQ(window->geometry().topLeft(), QPoint(30, 40));
    window->close();
    EXPECT_EQ(Stored("Left"), "30");
    EXPECT_EQ(Stored("Top"), "40");

    window.reset();
    Store("Width", "2800");
    Store("Height", "1750");
    OpenWindow();
    const QRect free = window->screen()->availableGeometry();
    EXPECT_TRUE(free.contains(window->geometry()))
        << window->geometry().x() << "," << window->geometry().y() << " "
        << window->geometry().width() << "x" << window->geometry().height() << " on "
        << free.x() << "," << free.y() << " " << free.width() << "x" << free.height();
}

// A notice takes the number's line for five seconds; then "No. N" is back, and the labels
// below never move.
TEST_F(Layout, TheProblemNumberComesBackWhenTheNoticeEnds) {
    OpenWindow();
    window->OpenGroup(3, 0);
    ClickThumbnail(1, 1);
    ASSERT_EQ(window->LabelStdResult->text(), "No. 1");
    const int resultTop = window->LabelResult->y();
    ClickPoint(1, 1); // the bad move: a notice
    ASSERT_NE(window->LabelStdResult->text(), "No. 1");
    EXPECT_TRUE(window->Timer2.isActive());
    window->Timer2.start(1); // the five seconds, shortened
    QTest::qWait(30);
    EXPECT_EQ(window->LabelStdResult->text(), "No. 1");
    EXPECT_EQ(window->LabelResult->y(), resultTop);
    window->LabelSuccessCount->clear();
    QApplication::processEvents();
    EXPECT_GE(window->LabelSuccessCount->height(),
              window->LabelSuccessCount->fontMetrics().lineSpacing())
        << "an empty label keeps its line";
}

// The retry hint opens beside the board, or over a corner the problem does not use, never over
// the problem's stones; it closes when nothing is pending any more.
TEST_F(Layout, TheHintWindowKeepsOffTheProblemAndGoesWithWhatItAnnounces) {
    for (const QSize size : {QSize(1200, 800), QSize(640, 520)}) {
        SCOPED_TRACE(size.width());
        window.reset();
        OpenWindow();
        Resize(size.width(), size.height());
        ClickThumbnail(1, 1); // problem 2: CC is refuted by CA
        ClickPoint(3, 3);
        TSplashForm* hint = window->SplashForm2();
        ASSERT_TRUE(hint->isVisible());
        const QRect covered = hint->frameGeometry();
        for (int p = 1; p <= 19; ++p) {
            for (int q = 1; q <= 19; ++q) {
                if (!IsStone(Board()->GetCell(p, q))) continue;
                EXPECT_FALSE(covered.contains(Board()->mapToGlobal(
                    QPoint(Board()->Geometry().X(p), Board()->Geometry().Y(q)))))
                    << "a stone under the hint at " << p << "," << q;
            }
        }
        const bool beside = covered.left() >= Board()->mapToGlobal(QPoint(Board()->BoardWidth(), 0)).x();
        EXPECT_EQ(beside, size.width() == 1200) << "beside the board when there is room";
        QTest::keyClick(window.get(), Qt::Key_Backspace);
        QApplication::processEvents();
        EXPECT_FALSE(hint->isVisible()) << "nothing to retry after Backspace";
    }
}

// "sgf board", "Plain background" and the splitter's place are kept across a restart.
TEST_F(Layout, TheBoardsLookAndThePanelWidthAreKept) {
    OpenProblem();
    window->Item(TCommand::misgf1)->trigger();
    window->Item(TCommand::miPlainbackground1)->trigger();
    ASSERT_FALSE(Board()->sgfCoordinate());
    ASSERT_TRUE(Board()->Painting());
    window->Splitter1->setSizes({120, window->Splitter1->width() - 120});
    QApplication::processEvents();
    const int panel = window->Splitter1->sizes().at(0);
    window->close();
    window.reset();
    OpenProblem();
    EXPECT_FALSE(window->Item(TCommand::misgf1)->isChecked());
    EXPECT_FALSE(Board()->sgfCoordinate());
    EXPECT_FALSE(window->Item(TCommand::miPlainbackground1)->isChecked());
    EXPECT_TRUE(Board()->Painting());
    EXPECT_EQ(window->Splitter1->sizes().at(0), panel);
}

// With the plain background off the texture fills the whole board panel: no box of it around
// the board on a plain window.
TEST_F(Layout, TheTextureFillsTheWholeBoardPanel) {
    OpenProblem();
    Resize(1920, 1040);
    window->Item(TCommand::miPlainbackground1)->trigger();
    QApplication::processEvents();
    QWidget* viewport = window->PanelGoGame1->findChild<QWidget*>("qt_scrollarea_viewport");
    ASSERT_TRUE(viewport);
    ASSERT_LT(Board()->geometry().right() + 20, viewport->width()) << "panel wider than the board";
    const QImage image = viewport->grab().toImage();
    const QColor beyond = image.pixelColor(image.width() - 5, image.height() / 2);
    const QColor inside = image.pixelColor(Board()->geometry().right() - 3, Board()->y() + 3);
    EXPECT_LE(std::abs(beyond.red() - inside.red()), 10);
    EXPECT_LE(std::abs(beyond.blue() - inside.blue()), 10);
    EXPECT_NE(beyond, window->palette().color(QPalette::Window)) << "the panel is textured too";
    window->Item(TCommand::miPlainbackground1)->trigger();
    QApplication::processEvents();
    const QImage plain = viewport->grab().toImage();
    EXPECT_EQ(plain.pixelColor(plain.width() - 5, plain.height() / 2),
              window->palette().color(QPalette::Window));
}

// In a small window the panel gives way before the board: the board keeps a playable radius and
// the splitter moves both ways, not only by collapsing the panel.
TEST_F(Layout, ASmallWindowKeepsAPlayableBoardAndAFreeSplitter) {
    OpenProblem();
    Resize(400, 380);
    EXPECT_GE(Board()->Radius(), 4);
    EXPECT_TRUE(BoardFits());
    Resize(540, 420);
    QSplitterHandle* handle = window->Splitter1->handle(1);
    const int before = window->Splitter1->sizes().at(0);
    const QPoint grip(handle->width() / 2, handle->height() / 2);
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, grip);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip - QPoint(40, 0)),
                     QPointF(handle->mapToGlobal(grip - QPoint(40, 0))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, grip - QPoint(40, 0));
    QApplication::processEvents();
    const int after = window->Splitter1->sizes().at(0);
    EXPECT_LT(after, before);
    EXPECT_GT(after, 0) << "narrowed, not collapsed";
}

// After a line has ended a click on the board plays and counts nothing; PgDn then plays the
// other reply, which ends the problem solved.
TEST_F(Layout, AClickAfterTheLineEndedIsIgnored) {
    OpenWindow();
    window->OpenGroup(4, 0);
    ClickThumbnail(1, 1);
    ClickPoint(1, 1);
    ASSERT_EQ(window->LabelResult->text(), "Success");
    const std::string played = Board()->Process();
    ClickPoint(10, 10);
    EXPECT_EQ(Board()->Process(), played) << "the click played nothing";
    EXPECT_EQ(window->LabelResult->text(), "Success");
    EXPECT_EQ(window->History().Find(6)->FailedCount, 0);
    QTest::keyClick(window.get(), Qt::Key_PageDown);
    QApplication::processEvents();
    EXPECT_EQ(window->LabelResult->text(), "Success");
    EXPECT_EQ(window->History().Find(6)->SolvedCount, 1);
    ClickPoint(10, 10);
    EXPECT_EQ(window->History().Find(6)->FailedCount, 0) << "nor after the solve";
}

} // namespace
} // namespace karvena::test
