// The first activation (settings, history, the stored level group) and the shut-down.
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QStandardPaths>

#include <filesystem>

#include "collection/HistoryStore.h"
#include "shell/Main.h"
#include "solving/ProblemCheck.h"
#include "text/Texts.h"

namespace karvena {

void TGoGameMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_FirstActivation) FirstActivation();
}

void TGoGameMainForm::FirstActivation() {
    if (!m_FirstActivation) return;
    m_FirstActivation = false;
    ReadSettings();

    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const std::string program = m_ProgramFolder.toStdString();
    const THistoryPlace place = HistoryPlace(
        program, userData.toStdString(), ProgramFolderWritable.value_or(FolderWritable(program)));
    m_HistoryPath = QString::fromStdString(place.Path);
    if (!place.TakenOverFrom.empty()) {
        Message("info", "Karvena",
                QString::fromStdString(Fill(Tx("HistoryTakenOver"), {place.TakenOverFrom, place.Path})));
    } else if (!place.TakeOverError.empty()) {
        Message("warning", "Karvena",
                QString::fromStdString(Fill(Tx("HistoryNotTakenOver"),
                                            {program + "/" + kHistoryFileName, place.TakeOverError})));
    }
    // Told once, whenever the first change cannot be saved; the session goes on counting.
    m_History.OnWriteFailed = [this](const std::string& path, const std::string& reason) {
        Message("warning", "Karvena",
                QString::fromStdString(Fill(Tx("HistoryNotSaved"), {path, reason})));
    };
    const THistoryOpen opened = m_History.Open(m_HistoryPath.toStdString(), HistoryAccess);
    if (!opened.MovedAside.empty()) {
        Message("warning", "Karvena",
                QString::fromStdString(
                    LocalOf("The history file could not be read. It was kept as ",
                            "历史记录文件无法读取，已保存为 ") +
                    opened.MovedAside +
                    LocalOf(" and a new history was started.", "，并开始新的记录。")));
    }
    // A history that cannot be opened or written was reported through OnWriteFailed.
    // The player's imported problems live where the history does: beside the program when it
    // may write there, else in the per-user data folder.
    // An imported problem must pass the collection tool's check to be added.
    m_Collections.SetProgramFolder(
        program, QStandardPaths::writableLocation(QStandardPaths::CacheLocation).toStdString());
    m_Collections.User().Check = CheckProblem;
    m_Collections.User().SetPath(
        (std::filesystem::path(place.Path).parent_path() / kUserCollectionName).string());
    if (!m_History.KeySpacesSeparate()) m_Collections.SeparateKeySpaces();
    RefreshGroupMenus();
    OpenGroup(m_Start.Database, m_Start.TopRow);
    SelectLastProblem(m_Start.Selected, m_Start.SelectedKey);
    // The sound machinery loads a moment after the first page is up, on a worker thread; a
    // sound asked for sooner loads it at once.
    QTimer::singleShot(300, this, [this] { m_Sounds.Preload(); });
    // The rating reads the log's problems: after the first page too.
    QTimer::singleShot(400, this, [this] { ShowRating(); });
    m_Zoom.SetBaseRadius(GoGame1->Radius());
}

void TGoGameMainForm::ReadSettings() {
    // The default size is a share of the whole screen the window opens on.
    const QRect whole = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
    m_Start = ReadStartSettings(*m_Settings, DefaultWidth(whole.width()),
                                DefaultHeight(whole.height()));
    SetSilent(m_Start.Silent);
    m_HintLock.SetAllowed(m_Start.HintAllowed);
    Item(TCommand::miHintallowed1)->setChecked(m_Start.HintAllowed);
    m_Loop->Options().HintAllowed = m_Start.HintAllowed;
    Item(TCommand::miDisplaynumbers1)->setChecked(m_Start.DisplayNumbers);
    m_Loop->Options().DisplayNumbers = m_Start.DisplayNumbers;
    Item(TCommand::NextproblemAutomaticallyWhenSolved1)->setChecked(m_Start.NextProblemAutomatically);
    m_Loop->Options().NextProblemAutomatically = m_Start.NextProblemAutomatically;
    Item(TCommand::miTakebackautomatically1)->setChecked(m_Start.TakebackAutomatically);
    m_Loop->Options().TakebackAutomatically = m_Start.TakebackAutomatically;
    Item(TCommand::miStudyAtNewWindow1)->setChecked(m_Start.StudyAtNewWindow);
    Item(TCommand::miBestCounterMoveOnly1)->setChecked(m_Start.BestCounterMoveOnly);
    Item(TCommand::miComputerdonotplaybadmove1)->setChecked(m_Start.ComputerDoNotPlayBadMove);
    m_Loop->SetComputerDoNotPlayBadMove(m_Start.ComputerDoNotPlayBadMove);
    Item(TCommand::miRandomOrientation1)->setChecked(m_Start.RandomOrientation);
    m_Loop->Options().RandomOrientation = m_Start.RandomOrientation;
    Item(TCommand::miRandomColours1)->setChecked(m_Start.RandomColours);
    m_Loop->Options().RandomColours = m_Start.RandomColours;
    Item(TCommand::miJudgeMoves1)->setChecked(m_Start.JudgeMoves);
    Item(TCommand::miOneStepHint1)->setChecked(m_Start.OneStepHint);
    m_Loop->Options().OneStepHint = m_Start.OneStepHint;
    m_Loop->Options().JudgeMovesTheAnswerDoesNotList = m_Start.JudgeMoves;
    SetDelay(m_Start.Delay);
    Item(TCommand::misgf1)->setChecked(m_Start.SgfBoard);
    GoGame1->SetsgfCoordinate(m_Start.SgfBoard);
    SetPlainBackground(m_Start.PlainBackground);
    if (m_Start.PanelWidth) {
        const int total = Splitter1->width();
        Splitter1->setSizes({*m_Start.PanelWidth, std::max(1, total - *m_Start.PanelWidth)});
    }
    PlaceWindow();
    // The hint windows follow their stored flags.
    m_Splash1->SetDisplayFlag(m_Start.DisplaySpashForm1);
    m_Splash2->SetDisplayFlag(m_Start.DisplaySpashForm2);
}

void TGoGameMainForm::PlaceWindow() {
    // The client rectangle is stored and restored, so the frame never creeps; the window stays
    // on the screen of its stored position (else its own), inside that screen's free area.
    QScreen* on = screen();
    if (m_Start.Left || m_Start.Top)
        if (QScreen* at = QGuiApplication::screenAt(QPoint(m_Start.Left.value_or(0),
                                                           m_Start.Top.value_or(0))))
            on = at;
    auto rectOf = [](const QRect& r) { return TWindowRect{r.x(), r.y(), r.width(), r.height()}; };
    const QRect whole = on ? on->geometry() : QRect(0, 0, 1024, 768);
    // The client goes inside the free area less the frame the window manager draws around it.
    const QRect frame = frameGeometry(), client = geometry();
    const QRect available = (on ? on->availableGeometry() : whole)
                                .adjusted(client.left() - frame.left(), client.top() - frame.top(),
                                          client.right() - frame.right(),
                                          client.bottom() - frame.bottom());
    const TWindowRect r = PlaceMainWindow(m_Start, rectOf(whole), rectOf(available));
    setGeometry(r.Left, r.Top, r.Width, r.Height);
}

void TGoGameMainForm::WriteSettings() {
    TCloseSettings values;
    values.BestCounterMoveOnly = Item(TCommand::miBestCounterMoveOnly1)->isChecked();
    values.ComputerDoNotPlayBadMove = Item(TCommand::miComputerdonotplaybadmove1)->isChecked();
    values.StudyAtNewWindow = Item(TCommand::miStudyAtNewWindow1)->isChecked();
    values.RandomOrientation = Item(TCommand::miRandomOrientation1)->isChecked();
    values.RandomColours = Item(TCommand::miRandomColours1)->isChecked();
    values.JudgeMoves = Item(TCommand::miJudgeMoves1)->isChecked();
    values.OneStepHint = Item(TCommand::miOneStepHint1)->isChecked();
    values.SgfBoard = Item(TCommand::misgf1)->isChecked();
    values.PlainBackground = Item(TCommand::miPlainbackground1)->isChecked();
    values.PanelWidth = Splitter1->sizes().value(0);
    values.Database = m_OpenedGroup;
    values.TopRow = GoIndex1->TopRow();
    values.Selected = GoIndex1->Selected();
    values.SelectedKey = GoIndex1->Selected() >= 0 ? ParseIndexLine(GoIndex1->Line(GoIndex1->Selected())).Key() : -1;
    values.NormalWindow =
        !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    values.Width = geometry().width();
    values.Height = geometry().height();
    values.Top = geometry().y();
    values.Left = geometry().x();
    values.Silent = Item(TCommand::miSilent1)->isChecked();
    values.DisplayNumbers = Item(TCommand::miDisplaynumbers1)->isChecked();
    values.NextProblemAutomatically = Item(TCommand::NextproblemAutomaticallyWhenSolved1)->isChecked();
    values.TakebackAutomatically = Item(TCommand::miTakebackautomatically1)->isChecked();
    values.Delay = TrackBar1->value();
    values.InstallDir = QDir::toNativeSeparators(m_ProgramFolder + "/").toStdString();
    WriteCloseSettings(*m_Settings, values);
}

void TGoGameMainForm::closeEvent(QCloseEvent* event) {
    // Every change of the history was written when it happened; only the attempt under way and
    // the settings remain.
    m_Statistics->EndAttempt();
    WriteSettings();
    m_Splash1->hide();
    m_Splash2->hide();
    QMainWindow::closeEvent(event);
}

} // namespace karvena
