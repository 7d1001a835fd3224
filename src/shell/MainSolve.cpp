// What the solve loop and the statistics show: labels, notices, sounds, timers, hint windows.
#include <QApplication>
#include <QStatusBar>

#include "solving/HintLock.h"
#include "shell/Main.h"
#include "shell/QtText.h"

namespace karvena {

void TGoGameMainForm::SetResult(const std::string& text) {
    LabelResult->setText(Q(text));
}

void TGoGameMainForm::ShowNotice(const std::string& text) {
    LabelStdResult->setText(Q(text));
    LabelStdResult->setStyleSheet("color: red;");
    Timer2.start();
}

void TGoGameMainForm::SetStatus(int panel, const std::string& text) {
    QLabel* label = panel == 0 ? StatusPanel0 : StatusPanel1;
    label->setText(Q(text));
    // An author's comment can be longer than the bar: the whole of it on hovering.
    label->setToolTip(Q(text));
}

void TGoGameMainForm::PlaySound(int number, bool wait) {
    m_Sounds.Play(number, wait);
}

void TGoGameMainForm::ArmTimer(bool enabled) {
    if (enabled)
        Timer1.start(TakebackInterval(TrackBar1->value()));
    else
        Timer1.stop();
}

void TGoGameMainForm::ShowHintWindow(int which) {
    if (which == 0) {
        m_Splash1->hide();
        m_Splash2->hide();
        return;
    }
    TSplashForm* hint = which == 1 ? m_Splash1 : m_Splash2;
    if (!hint->DisplayFlag()) return;
    hint->adjustSize();
    hint->move(HintWindowPlace(hint->size()));
    hint->ShowIfWanted();
}

QPoint TGoGameMainForm::HintWindowPlace(QSize hint) const {
    // Beside the board: below the panel's texts on its right, while the window has room there.
    const int gap = 8;
    const QPoint board = GoGame1->mapToGlobal(QPoint(0, 0));
    const QRect square(board, QSize(GoGame1->BoardWidth(), GoGame1->BoardHeight()));
    const QRect client(mapToGlobal(QPoint(0, 0)), this->size());
    const QRect beside(QPoint(square.right() + gap, board.y() + 310), hint);
    if (client.contains(beside)) return beside.topLeft();
    // Else over the corner of the board with the fewest stones under it: the problem's corner
    // is left free.
    const TBoardGeometry& g = GoGame1->Geometry();
    const QRect corners[] = {
        QRect(QPoint(square.right() - hint.width() - gap, square.bottom() - hint.height() - gap), hint),
        QRect(QPoint(square.left() + gap, square.bottom() - hint.height() - gap), hint),
        QRect(QPoint(square.right() - hint.width() - gap, square.top() + gap), hint),
        QRect(QPoint(square.left() + gap, square.top() + gap), hint)};
    const QRect* best = &corners[0];
    int fewest = 1 << 30;
    for (const QRect& corner : corners) {
        int stones = 0;
        for (int p = 1; p <= 19; ++p)
            for (int q = 1; q <= 19; ++q)
                if (IsStone(GoGame1->GetCell(p, q)) &&
                    corner.adjusted(-g.Radius, -g.Radius, g.Radius, g.Radius)
                        .contains(board + QPoint(g.X(p), g.Y(q))))
                    ++stones;
        if (stones < fewest) {
            fewest = stones;
            best = &corner;
        }
    }
    return best->topLeft();
}

void TGoGameMainForm::Thinking(bool on) {
    // The board takes no clicks meanwhile (the loop holds it); the label and the cursor say why.
    if (on) {
        LabelResult->setText(T("Thinking"));
        GoGame1->setCursor(Qt::BusyCursor);
        return;
    }
    if (LabelResult->text() == T("Thinking")) LabelResult->clear();
    GoGame1->unsetCursor();
}

void TGoGameMainForm::SetNextVariationEnabled(bool enabled) {
    Item(TCommand::btnNextVofComputer)->setEnabled(enabled);
}

void TGoGameMainForm::Beep() {
    ++Beeps;
    QApplication::beep();
}

void TGoGameMainForm::ProcessPendingEvents() {
    LabelResult->repaint();
}

void TGoGameMainForm::SetLabel(TStatLabel label, const std::string& text) {
    QLabel* target = nullptr;
    switch (label) {
    case TStatLabel::SuccessCount:
        target = LabelSuccessCount;
        break;
    case TStatLabel::FailureCount:
        target = LabelFailureCount;
        break;
    case TStatLabel::Hint0Count:
        target = LabelHint0Count;
        break;
    case TStatLabel::Hint1Count:
        target = LabelHint1Count;
        break;
    case TStatLabel::TakebackCount:
        target = LabelTakebackCount;
        break;
    case TStatLabel::StudyCount:
        target = LabelStudyCount;
        break;
    case TStatLabel::StdResult:
        target = LabelStdResult;
        LabelStdResult->setStyleSheet("");
        Timer2.stop();
        m_ProblemNumberText = Q(text);
        break;
    case TStatLabel::Score:
        target = LabelScore;
        break;
    case TStatLabel::BestTime:
        target = LabelBestTime;
        break;
    }
    target->setText(Q(text));
}

void TGoGameMainForm::PlayerSide(bool white) {
    LabelToPlay->setText(T(white ? "WhiteToPlay" : "BlackToPlay"));
}

bool TGoGameMainForm::ConfirmNoDefault(const std::string& caption, const std::string& text) {
    return Message("question", Q(caption), Q(text));
}

void TGoGameMainForm::ShowMessage(const std::string& text) {
    Message("info", "Karvena", Q(text));
}

void TGoGameMainForm::ResetStatusColour() {
    statusBar()->setStyleSheet("");
}

} // namespace karvena

namespace karvena {

void TGoGameMainForm::HintAllowedClick() {
    QAction* item = Item(TCommand::miHintallowed1);
    // The check mark flipped with the click; the lock says what it shows.
    item->setChecked(m_HintLock.Allowed());
    m_PasswordDlg->Prepare(m_HintLock.Allowed());
    const int result = PasswordHook ? PasswordHook(*m_PasswordDlg) : m_PasswordDlg->exec();
    const THintLockOutcome outcome =
        m_HintLock.Answer({result == QDialog::Accepted, m_PasswordDlg->Text().toStdString(),
                           m_PasswordDlg->Forgotten()});
    if (outcome == THintLockOutcome::WrongPassword) Beep();
    item->setChecked(m_HintLock.Allowed());
    m_Loop->Options().HintAllowed = m_HintLock.Allowed();
}

} // namespace karvena
