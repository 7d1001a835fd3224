// The views, level groups, paging, problem stepping, the board panel (fit, zoom, background)
// and the take-back delay.
#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTransform>

#include "board/Artwork.h"
#include "board/BoardGeometry.h"
#include "index/IndexLine.h"
#include "collection/OpenGroup.h"
#include "shell/Main.h"
#include "shell/QtText.h"
#include "text/Texts.h"

namespace karvena {

void TGoGameMainForm::SetPageButtonsVisible(bool visible) {
    for (const TCommand command : PageCommands())
        Item(command)->setVisible(visible);
}

void TGoGameMainForm::SetProblemButtonsVisible(bool visible) {
    for (const TCommand command : ProblemCommands())
        Item(command)->setVisible(visible);
}

void TGoGameMainForm::ShowAttemptTime() {
    LabelAttemptTime->setText(
        Q(Tx("LabelAttemptTime") + DurationText(m_Statistics->AttemptSeconds())));
}

void TGoGameMainForm::ShowGroupProgress() {
    const int solved = GoIndex1->SolvedLines();
    // An empty list (no review due, the open group removed) shows no count.
    StatusProgress->setText(GoIndex1->Count() > 0
                                ? Q(Fill(Tx("GroupProgress"), {std::to_string(solved),
                                                               std::to_string(GoIndex1->Count())}))
                                : QString());
}

QString TGoGameMainForm::GroupName(int group) const {
    if (group == kReviewGroup) return T("ReviewName");
    for (const auto& [file, popup] : m_GroupItems)
        if (file->data().toInt() == group) return Plain(T(file->objectName().toStdString().c_str()));
    for (const TImportedGroup& g : m_Collections.User().Groups())
        if (g.Group == group) return Q(g.Name);
    return {};
}

void TGoGameMainForm::ShowCaption() {
    const QString group = m_OpenedGroup == -1 ? QString() : GroupName(m_OpenedGroup);
    setWindowTitle(group.isEmpty() ? T("MainCaption")
                                   : Q(Fill(Tx("CaptionOfGroup"), {Tx("MainCaption"), group.toStdString()})));
}

void TGoGameMainForm::ShowIndexPageNumber() {
    const int pages = GoIndex1->PageCount();
    const int rows = std::max(1, GoIndex1->Rows());
    // The last page is the one shown once the last row is in view.
    int page = (GoIndex1->TopRow() - 1) / rows + 1;
    if (GoIndex1->TopRow() + rows > GoIndex1->RowCount()) page = pages;
    StatusPage->setText(pages > 0 ? Q(Fill(Tx("IndexPageOf"), {std::to_string(std::clamp(page, 1, pages)),
                                                                 std::to_string(pages)}))
                                  : QString());
    StatusPage->setVisible(Pages->currentWidget() == tsIndex && pages > 0);
}

void TGoGameMainForm::ShowIndexView() {
    Pages->setCurrentWidget(tsIndex);
    ShowIndexPageNumber();
    AttemptClock.stop();
    ShowGroupProgress();
    Item(TCommand::miProblemIndex1)->setChecked(true);
    Item(TCommand::miSolveIt1)->setChecked(false);
    Item(TCommand::miSolveIt1)->setVisible(true);
    Item(TCommand::btnSolveIt)->setVisible(true);
    Item(TCommand::miZoomin1)->setVisible(false);
    Item(TCommand::miZoomout1)->setVisible(false);
    SetProblemButtonsVisible(false);
    SetPageButtonsVisible(true);
    Item(TCommand::miProblemIndex1)->setVisible(false);
    Item(TCommand::btnProblemIndex)->setVisible(false);
    ToolBarSolveIt->setVisible(false);
    if (GoIndex1->isVisible()) GoIndex1->setFocus();
}

void TGoGameMainForm::ShowProblemView() {
    Item(TCommand::miProblemIndex1)->setVisible(true);
    Item(TCommand::btnProblemIndex)->setVisible(true);
    Item(TCommand::miProblemIndex1)->setChecked(false);
    Item(TCommand::miSolveIt1)->setChecked(true);
    Pages->setCurrentWidget(tsProblem);
    StatusPage->setVisible(false);
    ShowAttemptTime();
    AttemptClock.start();
    SetProblemButtonsVisible(true);
    SetPageButtonsVisible(false);
    Item(TCommand::miFind1)->setVisible(false);
    Item(TCommand::miSolveIt1)->setVisible(false);
    Item(TCommand::btnSolveIt)->setVisible(false);
    Item(TCommand::miZoomin1)->setVisible(true);
    Item(TCommand::miZoomout1)->setVisible(true);
    ToolBarSolveIt->setVisible(true);
    FitBoardToPanel();
    setFocus();
}

void TGoGameMainForm::ShowSidePage(QWidget* page) {
    Pages->setCurrentWidget(page);
    StatusPage->setVisible(false);
    AttemptClock.stop();
    SetProblemButtonsVisible(false);
    SetPageButtonsVisible(false);
    for (const TCommand command : {TCommand::miProblemIndex1, TCommand::btnProblemIndex, TCommand::miSolveIt1,
                                   TCommand::btnSolveIt}) {
        Item(command)->setVisible(true);
        Item(command)->setChecked(false);
    }
    Item(TCommand::miZoomin1)->setVisible(false);
    Item(TCommand::miZoomout1)->setVisible(false);
    ToolBarSolveIt->setVisible(false);
    setFocus();
}

void TGoGameMainForm::MarkDefaultGroup(int group) {
    std::vector<std::pair<QAction*, QAction*>> items = m_GroupItems;
    items.insert(items.end(), m_ImportedItems.begin(), m_ImportedItems.end());
    for (const auto& [file, popup] : items) {
        const int tag = file->data().toInt();
        const bool isDefault = tag == group && m_Collections.IsLevelGroup(tag);
        for (QAction* item : {file, popup}) {
            QFont font = item->font();
            font.setBold(isDefault);
            item->setFont(font);
        }
    }
}

void TGoGameMainForm::OpenGroup(int group, int topRow) {
    if (GoGame1->Study()) StopTry();
    ShowIndexView();
    TWaitForm* wait = nullptr;
    if (QFile::exists(m_ProgramFolder + "/Timer.avi") && !MessageHook) {
        wait = new TWaitForm(this);
        wait->show();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    // The open group and the solve loop's store change only when the opening succeeded.
    TOpenedGroup result = m_Collections.Open(group, m_Statistics->TodayNumber() + m_ReviewAheadDays);
    delete wait;
    if (result.Problems) m_Loop->SetProblems(result.Problems);
    if (result.Status == TOpenGroupStatus::Ok) m_OpenedStore = result.Problems;
    if (result.Status != TOpenGroupStatus::Ok) {
        if (result.ErrorSound()) m_Sounds.Play(kSoundError, true);
        const bool english = !ChineseGB && !ChineseBig5;
        Message("warning", "Karvena",
                Q(english ? OpenGroupMessage(result, true)
                          : ToLocalText(OpenGroupMessage(result, false))));
        return;
    }
    MarkDefaultGroup(group);
    if (result.Source)
        GoIndex1->SetListing(std::move(result.Solved), std::move(result.Source));
    else
        GoIndex1->SetGames(std::move(result.Lines));
    m_OpenedGroup = group;
    ShowCaption();
    ShowGroupProgress();
    if (topRow > 0 && topRow <= GoIndex1->RowCount()) GoIndex1->SetTopRow(topRow);
    if (GoIndex1->isVisible() && GoIndex1->isEnabled()) GoIndex1->setFocus();
}

std::optional<THistoryRow> TGoGameMainForm::HistoryOfLine(int index, int32_t* historyKey) const {
    const int key = ParseIndexLine(GoIndex1->Line(index)).Key();
    if (!m_OpenedStore || key < 0) return std::nullopt;
    const int32_t inHistory = m_OpenedStore->HistoryKeyOf(key);
    if (historyKey) *historyKey = inHistory;
    return m_History.Find(inHistory);
}

void TGoGameMainForm::SelectLastProblem(int position, int key) {
    if (key < 0 || GoIndex1->Count() == 0) return;
    auto keyAt = [this](int at) { return ParseIndexLine(GoIndex1->Line(at)).Key(); };
    // Where it was, else wherever the group now has it; a problem since removed: the first page.
    if (position < 0 || position >= GoIndex1->Count() || keyAt(position) != key) {
        position = -1;
        for (int at = 0; at < GoIndex1->Count() && position < 0; ++at)
            if (keyAt(at) == key) position = at;
    }
    if (position < 0) {
        GoIndex1->FirstPage();
        return;
    }
    GoIndex1->SetSelected(position);
    // Its page in view, unless the page kept already shows it.
    const int row = position / std::max(1, GoIndex1->Cols()) + 1;
    const int rows = std::max(1, GoIndex1->Rows());
    if (row < GoIndex1->TopRow() || row >= GoIndex1->TopRow() + rows)
        GoIndex1->SetTopRow((row - 1) / rows * rows + 1);
}

void TGoGameMainForm::SolveIt() {
    // The item is checked while the problem page shows, whether or not it was opened.
    Item(TCommand::miSolveIt1)->setChecked(OnProblemPage());
    // From a side page back to the problem left there, as it was.
    if (Pages->currentWidget() != tsIndex && !OnProblemPage() && m_Statistics->CurrentProblem() != 0 &&
        GoIndex1->Selected() >= 0) {
        ShowProblemView();
        return;
    }
    if (OnProblemPage() || GoIndex1->Count() == 0) return;
    if (GoIndex1->Selected() < 0) GoIndex1->SetSelected(0);
    if (m_Loop->LoadProblem(GoIndex1->Selected())) ShowProblemView();
}

void TGoGameMainForm::FirstPage() {
    GoIndex1->FirstPage();
}
void TGoGameMainForm::PriorPage() {
    GoIndex1->PriorPage();
}
void TGoGameMainForm::NextPage() {
    GoIndex1->NextPage();
}
void TGoGameMainForm::LastPage() {
    GoIndex1->LastPage();
}

void TGoGameMainForm::SelectAndLoad(int position) {
    GoIndex1->SetSelected(position);
    if (m_Loop->LoadProblem(position) && !OnProblemPage()) ShowProblemView();
}

void TGoGameMainForm::StepProblem(TGoIndexModel::TStep step) {
    if (const std::optional<int> target = GoIndex1->StepTarget(step)) SelectAndLoad(*target);
}
void TGoGameMainForm::FirstProblem() {
    StepProblem(TGoIndexModel::TStep::First);
}
void TGoGameMainForm::PriorProblem() {
    StepProblem(TGoIndexModel::TStep::Prior);
}
void TGoGameMainForm::NextProblemCommand() {
    StepProblem(TGoIndexModel::TStep::Next);
}
void TGoGameMainForm::LastProblem() {
    StepProblem(TGoIndexModel::TStep::Last);
}

void TGoGameMainForm::FitBoardToPanel() {
    if (!m_Zoom.FillsPanel()) return;
    auto* scroll = static_cast<QScrollArea*>(PanelGoGame1);
    // The board fills its panel, but never beyond 840 x 840.
    const QSize room = scroll->viewport()->size() - QSize(2, 2);
    GoGame1->resize(std::min(room.width(), 840 + GoGame1->DisplayWidth()),
                    std::min(room.height(), 840));
}

QSize TGoGameMainForm::MinimumBoardSize() const {
    // The smallest board still worth playing on, with its panel: radius 4.
    TBoardLook look = GoGame1->Look();
    look.SetRadius(4);
    const TBoardGeometry g = TBoardGeometry::From(look);
    return {g.ControlWidth() + 2, g.ControlHeight() + 2};
}

void TGoGameMainForm::SetPlainBackground(bool plain) {
    Item(TCommand::miPlainbackground1)->setChecked(plain);
    GoGame1->SetPainting(!plain);
    // The texture fills the whole board panel, lined up with the board's own, so it shows no box.
    QWidget* viewport = static_cast<QScrollArea*>(PanelGoGame1)->viewport();
    QPalette colours = viewport->palette();
    if (plain) {
        colours.setBrush(QPalette::Window, palette().brush(QPalette::Window));
    } else {
        QBrush texture(TArtwork::For(devicePixelRatioF()).Background());
        texture.setTransform(QTransform::fromTranslate(GoGame1->x(), GoGame1->y()));
        colours.setBrush(QPalette::Window, texture);
    }
    viewport->setPalette(colours);
    viewport->setAutoFillBackground(true);
    viewport->update();
}

void TGoGameMainForm::ZoomIn() {
    const bool filled = m_Zoom.FillsPanel();
    const std::optional<int> radius = m_Zoom.In(GoGame1->Radius());
    if (!radius) return;
    // Zoomed, the board leaves its panel's size behind, and its panel of texts too.
    if (filled) GoGame1->SetDisplayInfo(0);
    GoGame1->SetRadius(static_cast<int16_t>(*radius));
    Item(TCommand::miZoomout1)->setEnabled(m_Zoom.Zoomed());
}

void TGoGameMainForm::ZoomOut() {
    const std::optional<int> radius = m_Zoom.Out(GoGame1->Radius());
    if (!radius) return;
    GoGame1->SetRadius(static_cast<int16_t>(*radius));
    if (m_Zoom.FillsPanel()) {
        GoGame1->SetDisplayInfo(1);
        FitBoardToPanel();
    }
    Item(TCommand::miZoomout1)->setEnabled(m_Zoom.Zoomed());
}

void TGoGameMainForm::SetDelay(int seconds) {
    TrackBar1->setValue(seconds);
    if (seconds >= 1 && seconds <= 10) Item(SpeedCommand(seconds))->setChecked(true);
}

void TGoGameMainForm::DelayCommand() {
    bool ok = false;
    const QString text =
        QInputDialog::getText(this, Q(Tx("DelayTitle")), Q(Tx("DelayPrompt")), QLineEdit::Normal,
                              QString::number(TrackBar1->value()), &ok);
    if (!ok) return;
    const int value = ParseDelay(text.trimmed().toStdString());
    if (value < TrackBar1->minimum() || value > TrackBar1->maximum())
        Beep();
    else
        TrackBar1->setValue(value);
}

} // namespace karvena

namespace karvena {

// Everything that would step the tree or set the problem up again rests while a try is on: the
// try's moves are not the problem's, so neither may be thrown away or counted.
void TGoGameMainForm::SetSolvingCommandsEnabled(bool enabled) {
    SetCommandsEnabled(CommandsRestingDuringTry(), enabled);
}

void TGoGameMainForm::SetCommandsEnabled(std::span<const TCommand> commands, bool enabled) {
    for (const TCommand command : commands)
        Item(command)->setEnabled(enabled);
    // The imported groups' items come and go with the collection: they rest with the groups.
    for (const auto& [file, popup] : m_ImportedItems) {
        file->setEnabled(enabled);
        popup->setEnabled(enabled);
    }
    m_RemoveMenu->menuAction()->setEnabled(enabled && !m_RemoveMenu->isEmpty());
    btnOpen->setEnabled(enabled);
}

void TGoGameMainForm::UpdateTryButtons() {
    btnNextMove->setEnabled(m_Try->NextMoveEnabled());
    btnUndo->setEnabled(m_Try->UndoEnabled());
}

void TGoGameMainForm::StartTry() {
    if (!OnProblemPage()) return;
    if (Item(TCommand::miStudyAtNewWindow1)->isChecked()) {
        // The study window gets a copy of the game; the main window keeps solving.
        m_Study->Load(GoGame1->Handicap(), GoGame1->FirstToPlay(), GoGame1->NextMove(), GoGame1->InitialProc(),
                      GoGame1->ArrangedSideP(), GoGame1->ArrangedSideN(), GoGame1->Process());
        return;
    }
    Item(TCommand::btnNextVofComputer)->setEnabled(false);
    Timer1.stop();
    SetSolvingCommandsEnabled(false);
    for (QPushButton* b : {btnUndo, btnNextMove, btn1, btnStopStudy2})
        b->setVisible(true);
    m_Try->Start();
    UpdateTryButtons();
    Item(TCommand::miStudy1)->setEnabled(false);
    Item(TCommand::btnStudy1)->setVisible(false);
    Item(TCommand::miStopStudy1)->setEnabled(true);
    Item(TCommand::btnStopStudy1)->setVisible(true);
}

void TGoGameMainForm::StopTry() {
    m_Study->hide();
    if (!m_Try->Active()) return;
    SetSolvingCommandsEnabled(true);
    m_Try->Stop();
    for (QPushButton* b : {btnUndo, btnNextMove, btn1, btnStopStudy2})
        b->setVisible(false);
    Item(TCommand::miStopStudy1)->setEnabled(false);
    Item(TCommand::btnStopStudy1)->setVisible(false);
    Item(TCommand::miStudy1)->setEnabled(true);
    Item(TCommand::btnStudy1)->setVisible(true);
}

void TGoGameMainForm::UndoTry() {
    m_Try->Undo();
    UpdateTryButtons();
}

void TGoGameMainForm::NextTryMove() {
    btnNextMove->setEnabled(false);
    m_Try->NextMove();
    UpdateTryButtons();
}

void TGoGameMainForm::RestartTry() {
    StopTry();
    StartTry();
}

} // namespace karvena
