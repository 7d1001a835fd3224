// Timed sets in the window: the set's problems played one after the other with a countdown
// above the counters, a problem out of time failed, and the summary page at the end.
#include <QElapsedTimer>

#include "shell/Main.h"
#include "shell/QtText.h"

namespace karvena {

std::vector<std::pair<int, QString>> TGoGameMainForm::TimedSetGroups() const {
    std::vector<std::pair<int, QString>> groups;
    for (const auto& [file, popup] : m_GroupItems)
        if (file->isVisible()) groups.emplace_back(file->data().toInt(), file->text());
    for (const auto& [file, popup] : m_ImportedItems) groups.emplace_back(file->data().toInt(), file->text());
    groups.emplace_back(kReviewGroup, m_ReviewItems.first->text());
    return groups;
}

void TGoGameMainForm::TimedSetCommand() {
    if (m_Try->Active() || InTimedSet()) return;
    RefreshGroupMenus();
    std::optional<TTimedSetOptions> options;
    if (TimedSetChooser) {
        options = TimedSetChooser();
    } else {
        TTimedSetDialog dialog(TimedSetGroups(), m_OpenedGroup, this);
        if (dialog.exec() == QDialog::Accepted) options = dialog.Options();
    }
    if (options) StartTimedSet(*options);
}

void TGoGameMainForm::StartTimedSet(const TTimedSetOptions& options) {
    OpenGroup(options.Group, 0);
    if (m_OpenedGroup != options.Group) return; // the group could not be opened: it said why
    const std::vector<int> positions = TTimedSet::Pick(GoIndex1->SolvedFlags(), options.Size);
    if (positions.empty()) {
        Message("info", T("TimedSetTitle"),
                Q(Fill(Tx("TimedSetNoProblems"), {GroupName(options.Group).toStdString()})));
        return;
    }
    if (!TimedSetClock) {
        auto started = std::make_shared<QElapsedTimer>();
        started->start();
        TimedSetClock = [started] { return started->elapsed() / 1000; };
    }
    m_TimedSet.emplace(options, positions, TimedSetClock());
    m_TimedSetNames.clear();
    for (const int position : positions) m_TimedSetNames.push_back(Q(Tx("LabelStdResult") + std::to_string(position + 1)));
    SetTimedSetCommandsEnabled(false);
    LabelCountdown->setVisible(true);
    btnLeaveSet->setVisible(true);
    TimedSetTimer.start();
    PlayTimedProblem();
}

void TGoGameMainForm::PlayTimedProblem() {
    m_TimedSetPausing = false;
    if (!m_TimedSet || m_TimedSet->Finished()) {
        EndTimedSet();
        return;
    }
    SelectAndLoad(m_TimedSet->CurrentPosition());
    if (!OnProblemPage()) ShowProblemView();
    ShowCountdown();
}

void TGoGameMainForm::ShowCountdown() {
    if (!m_TimedSet || m_TimedSet->Finished()) return;
    const int64_t left = m_TimedSet->SecondsLeft(TimedSetClock());
    LabelCountdown->setText(Q(Fill(Tx("TimedCountdown"), {ClockText(left).toStdString()})) + "\n" +
                            Q(Fill(Tx("TimedProblemOf"), {std::to_string(m_TimedSet->CurrentIndex() + 1),
                                                          std::to_string(m_TimedSet->Problems().size())})));
    LabelCountdown->setStyleSheet(left <= 10 ? "color: #b00020;" : "");
}

void TGoGameMainForm::TimedSetTick() {
    if (!InTimedSet() || m_TimedSetPausing) return;
    ShowCountdown();
    const int64_t now = TimedSetClock();
    if (!m_TimedSet->TimeIsUp(now)) return;
    // Out of time: a failure, counted as one, and on to the next problem.
    m_Loop->StopThinking();
    m_Statistics->RecordFailure();
    m_TimedSet->TimedOut(now);
    ShowNotice(Tx("TimeIsUp"));
    m_Sounds.Play(kSoundFailure, false);
    PlayTimedProblem();
}

void TGoGameMainForm::Solved() {
    ShowGroupProgress();
    if (!InTimedSet() || m_TimedSetPausing || GoIndex1->Selected() != m_TimedSet->CurrentPosition()) return;
    m_TimedSet->Solved(TimedSetClock());
    // "Success" stays a moment before the next problem comes.
    m_TimedSetPausing = true;
    const int generation = ++m_TimedSetGeneration;
    QTimer::singleShot(TimedSetPauseMs, this, [this, generation] {
        if (generation == m_TimedSetGeneration && m_TimedSetPausing) PlayTimedProblem();
    });
}

void TGoGameMainForm::LeaveTimedSet() {
    if (!InTimedSet()) return;
    m_TimedSet->Leave(TimedSetClock());
    EndTimedSet();
}

void TGoGameMainForm::EndTimedSet() {
    ++m_TimedSetGeneration;
    m_TimedSetPausing = false;
    TimedSetTimer.stop();
    LabelCountdown->setVisible(false);
    btnLeaveSet->setVisible(false);
    SetTimedSetCommandsEnabled(true);
    if (!m_TimedSet) return;
    // The last problem's attempt ends with the set.
    m_Statistics->EndAttempt();
    tsTimedSummary->Show(*m_TimedSet, m_TimedSetNames);
    ShowSidePage(tsTimedSummary);
}

void TGoGameMainForm::SetTimedSetCommandsEnabled(bool enabled) {
    SetCommandsEnabled(CommandsRestingDuringTimedSet(), enabled);
    Item(TCommand::miLeaveTimedSet1)->setVisible(!enabled);
}

} // namespace karvena
