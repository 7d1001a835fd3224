#pragma once
// TGoGameMainForm: the trainer's window. A switchboard: it lays out the index and problem
// pages, the menus, tool bars and keys, and hands every command to the core (the solve loop,
// the statistics, the stores). Split by concern: Main.cpp builds the window, MainNavigation.cpp
// holds the views, paging, problems and zoom, MainSolve.cpp what the solve loop shows, and
// MainSettings.cpp the start-up and shut-down.
#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <functional>
#include <map>
#include <optional>
#include <memory>

#include "board/GoGame.h"
#include "board/Zoom.h"
#include "collection/HistoryStore.h"
#include "collection/ProblemStore.h"
#include "collection/Collections.h"
#include "collection/OpenGroup.h"
#include "collection/UserCollection.h"
#include "index/GoIndex.h"
#include "shell/Commands.h"
#include "shell/Settings.h"
#include "shell/SolverThread.h"
#include "shell/Sound.h"
#include "shell/Splash.h"
#include "shell/StatisticsPage.h"
#include "shell/TimedSetPages.h"
#include "shell/uSetPassword1.h"
#include "solving/HintLock.h"
#include "solving/SolveLoop.h"
#include "solving/Statistics.h"
#include "solving/Study.h"
#include "solving/TimedSet.h"
#include "solving/TryMode.h"

namespace karvena {

class TGoGameMainForm : public QMainWindow, private ISolveOutput, private IStatisticsOutput {
public:
    // `programFolder` holds the archive, the guide and (when writable) the history;
    // `settings` is the store the settings live in.
    TGoGameMainForm(const QString& programFolder, std::unique_ptr<ISettingsStore> settings,
                    std::unique_ptr<ISettingsStore> commonSettings = nullptr,
                    QWidget* parent = nullptr);
    ~TGoGameMainForm() override;

    // The first activation: settings, history, the stored level group.
    void FirstActivation();

    // Message boxes go here instead when set (tests answer them): kind is "info", "warning",
    // "question"; the result is the answer to a question.
    std::function<bool(const QString& kind, const QString& title, const QString& text)> MessageHook;
    // Opens a page with the desktop's handler; tests replace it. True when a handler started.
    std::function<bool(const QUrl& url)> OpenUrlHook;

    // ---- Commands ----
    // The level group of that number; kReviewGroup is the review of failed problems.
    void OpenGroup(int group, int topRow);
    void ShowIndexView();
    void ShowProblemView();
    void SolveIt();
    void FirstPage();
    void PriorPage();
    void NextPage();
    void LastPage();
    void FirstProblem();
    void PriorProblem();
    void NextProblemCommand();
    void LastProblem();
    void ZoomIn();
    void ZoomOut();
    void SetDelay(int seconds);
    void DelayCommand();
    // Turns every sound off or on, with the menu item's picture.
    void SetSilent(bool silent);
    // Shows the window (restored from minimised), raises and activates it.
    void BringToFront();
    // Plain background on or off: the board's look and its panel's behind it.
    void SetPlainBackground(bool plain);
    QSize MinimumBoardSize() const;
    // Trying moves (in place, or in the study window when that option is on).
    void StartTry();
    void StopTry();
    void UndoTry();
    void NextTryMove();
    void RestartTry();
    // The player's own problems (MainImport.cpp): import from SGF files and folders, remove an
    // imported group, and the imported groups in the level menus with "solved/total".
    void ImportProblems();
    // File -> Export statistics...: the attempt log as CSV, written whole or not at all.
    void ExportStatistics();
    // The file the statistics go to (tests set their own; empty: cancelled).
    std::function<QString()> ExportChooser;
    // The rating in the problem page's status bar, from the attempt log.
    void ShowRating();
    // View -> Statistics: the page of charts, drawn from the attempt log as it is now.
    void ShowStatisticsView();
    TProgressReport ProgressReport();

    // Timed sets (MainTimedSet.cpp). File -> Timed set... asks for the set (TimedSetChooser
    // answers instead when set: nullopt is cancelled) and starts it.
    void TimedSetCommand();
    // The groups a set may be played from, with their captions.
    std::vector<std::pair<int, QString>> TimedSetGroups() const;
    std::function<std::optional<TTimedSetOptions>()> TimedSetChooser;
    void StartTimedSet(const TTimedSetOptions& options);
    // Leaves the set under way: the summary shows what was played.
    void LeaveTimedSet();
    // The countdown: shown again, and a problem whose time is up fails (the set's timer calls it).
    void TimedSetTick();
    // The set's clock in seconds (tests set their own).
    std::function<int64_t()> TimedSetClock;
    // How long "Success" shows before a set goes on to its next problem.
    int TimedSetPauseMs = 1200;
    const std::optional<TTimedSet>& TimedSet() const { return m_TimedSet; }
    // A set is on from its start to its summary, the pause after its last solve included.
    bool InTimedSet() const { return m_TimedSet && (!m_TimedSet->Finished() || m_TimedSetPausing); }
    void RemoveImportedGroup(int group);
    // The level menus' captions with each group's "solved/total", and the imported groups.
    void RefreshGroupMenus();
    // The open group's "solved/total" in the index page's status bar.
    void ShowGroupProgress();
    TUserCollection& UserCollection() { return m_Collections.User(); }
    TCollections& Collections() { return m_Collections; }
    // Chooses what to import instead of the file dialogs when set (tests choose).
    std::function<QStringList()> ImportChooser;
    // Where the import dialogs open: where the last import came from (empty: the default).
    QString ImportStartFolder() const;
    // Told of every file read during an import (tests watch the progress); cancels the import
    // once `done` reaches ImportCancelAt when that is set.
    std::function<void(int done, int total)> ImportProgressHook;
    int ImportCancelAt = 0;
    // The hint lock: locking asks for a password, unlocking for the same one.
    void HintAllowedClick();
    // Whether the history may live beside the program; unset, the folder's permissions decide.
    std::optional<bool> ProgramFolderWritable;
    // How the history is opened (tests open it read-only, as a file without write permission).
    THistoryAccess HistoryAccess = THistoryAccess::ReadWrite;
    // Runs the password dialog instead of showing it modally when set (tests fill it in).
    std::function<int(TSetPasswordDlg& dialog)> PasswordHook;

    // ---- Parts, named as the window names them ----
    TGoGame* GoGame1 = nullptr;
    TGoIndex* GoIndex1 = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QStackedWidget* Pages = nullptr;
    QWidget* tsIndex = nullptr;
    QWidget* tsProblem = nullptr;
    TStatisticsPage* tsStatistics = nullptr;
    TTimedSetSummary* tsTimedSummary = nullptr;
    // The timed set's countdown above the counters, and the button that leaves the set.
    QLabel* LabelCountdown = nullptr;
    // "Black to play" / "White to play": the side the player plays, in the colours shown.
    QLabel* LabelToPlay = nullptr;
    QPushButton* btnLeaveSet = nullptr;
    QTimer TimedSetTimer;
    QWidget* PanelGoGame1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QLabel *LabelResult = nullptr, *LabelStdResult = nullptr, *LabelSuccessCount = nullptr,
           *LabelFailureCount = nullptr, *LabelHint0Count = nullptr, *LabelHint1Count = nullptr,
           *LabelTakebackCount = nullptr, *LabelStudyCount = nullptr, *LabelScore = nullptr,
           *LabelBestTime = nullptr, *LabelAttemptTime = nullptr;
    // Ticks every second while a problem is shown: the attempt's time.
    QTimer AttemptClock;
    void ShowAttemptTime();
    QLabel *StatusPanel0 = nullptr, *StatusPanel1 = nullptr, *StatusProgress = nullptr;
    QSlider* TrackBar1 = nullptr;
    QPushButton *btnUndo = nullptr, *btnNextMove = nullptr, *btn1 = nullptr,
                *btnStopStudy2 = nullptr;
    QToolBar *ToolBarMain = nullptr, *ToolBarSolveIt = nullptr;
    QToolButton* btnOpen = nullptr;
    QTimer Timer1, Timer2;
    // Every menu item and tool button of the command table.
    QAction* Item(TCommand command) const { return m_Items[static_cast<std::size_t>(command)]; }
    const std::array<QAction*, kCommandCount>& Items() const { return m_Items; }

    TSolveLoop& Loop() { return *m_Loop; }
    TStatistics& Statistics() { return *m_Statistics; }
    THistoryStore& History() { return m_History; }
    int OpenedGroup() const { return m_OpenedGroup; }
    int BaseRadius() const { return m_Zoom.BaseRadius(); }
    const QString& HistoryPath() const { return m_HistoryPath; }
    TSplashForm* SplashForm1() const { return m_Splash1; }
    TSplashForm* SplashForm2() const { return m_Splash2; }
    TSoundPlayer& Sounds() { return m_Sounds; }
    // How often the window beeped (a refused command, a wrong password).
    int Beeps = 0;
    TTryMode& Try() { return *m_Try; }
    TStudyForm* StudyForm() const { return m_Study; }
    TSetPasswordDlg* SetPasswordDlg() const { return m_PasswordDlg; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Runs the item of a key of the trainer's key table; false when the key is not the trainer's.
    bool TrainerKey(QObject* receiver, QKeyEvent* event);

private:
    // Main.cpp: building the window.
    QAction* MakeAction(TCommand command, const QString& english, std::function<void()> run,
                        const QKeySequence& key = {}, bool checkable = false);
    // Each tool button: an item of its own that runs its menu command.
    void CreateToolButtons();
    // Adds the items of a menu or tool bar table, separators where the table has them.
    void AddItems(QWidget* to, std::span<const TCommand> items);
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreatePages();
    void CreateStatusBar();
    void ApplyCaptions();
    void ConnectParts();
    bool Message(const QString& kind, const QString& title, const QString& text);
    void About();
    void Guide();

    // MainNavigation.cpp
    void SetProblemButtonsVisible(bool visible);
    // At start: the last problem opened, selected at its page (found by its key if it moved).
    void SelectLastProblem(int position, int key);
    // A page beside the index and the problem (statistics, a set's summary): both a click away.
    void ShowSidePage(QWidget* page);
    void SetPageButtonsVisible(bool visible);
    void SelectAndLoad(int position);
    void StepProblem(TGoIndexModel::TStep step);
    void FitBoardToPanel();
    void MarkDefaultGroup(int group);
    void UpdateTryButtons();
    void SetSolvingCommandsEnabled(bool enabled);
    // The commands, the imported groups' items, the remove menu and the group drop-down.
    void SetCommandsEnabled(std::span<const TCommand> commands, bool enabled);

    // MainImport.cpp
    QStringList ChooseImport();

    // MainTimedSet.cpp
    void PlayTimedProblem();
    void ShowCountdown();
    void EndTimedSet();
    void SetTimedSetCommandsEnabled(bool enabled);
    std::optional<TTimedSet> m_TimedSet;
    std::vector<QString> m_TimedSetNames;
    // The pause after a solve: the set's next problem comes when it ends (a later one cancels it).
    bool m_TimedSetPausing = false;
    int m_TimedSetGeneration = 0;

    // MainSettings.cpp
    void ReadSettings();
    // Sizes and moves the window from the settings read, onto its screen.
    void PlaceWindow();
    void WriteSettings();

    // ISolveOutput (MainSolve.cpp)
    void SetResult(const std::string& text) override;
    void ShowNotice(const std::string& text) override;
    void SetStatus(int panel, const std::string& text) override;
    void PlaySound(int number, bool wait) override;
    void ArmTimer(bool enabled) override;
    void ShowHintWindow(int which) override;
    void SetNextVariationEnabled(bool enabled) override;
    void Beep() override;
    // A timed set goes on to its own next problem.
    void NextProblem() override {
        if (!InTimedSet()) NextProblemCommand();
    }
    void ProcessPendingEvents() override;
    void TrialMove() override { UpdateTryButtons(); }
    void Thinking(bool on) override;
    void PlayerSide(bool white) override;
    void Solved() override;
    // Where a hint window of this size opens: beside the board, else over its emptiest corner.
    QPoint HintWindowPlace(QSize size) const;
    // IStatisticsOutput
    void SetLabel(TStatLabel label, const std::string& text) override;
    bool ConfirmNoDefault(const std::string& caption, const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    void ResetStatusColour() override;

    bool OnProblemPage() const { return Pages->currentWidget() == tsProblem; }

    QString m_ProgramFolder;
    std::unique_ptr<ISettingsStore> m_Settings;
    THintLock m_HintLock{*m_Settings};
    THistoryStore m_History;
    QString m_HistoryPath;
    // The bundled, imported and review collections: which holds what, and their stores.
    TCollections m_Collections{m_History};
    std::pair<QAction*, QAction*> m_ReviewItems{};
    std::unique_ptr<TStatistics> m_Statistics;
    std::unique_ptr<TSolveLoop> m_Loop;
    std::unique_ptr<TTryMode> m_Try;
    // Made after the loop and gone before it: no verdict reaches a loop that is gone.
    std::unique_ptr<TSolverThread> m_Solver;
    QLabel* StatusRating = nullptr;
    // "Page 2 of 7" on the index page.
    QLabel* StatusPage = nullptr;
    void ShowIndexPageNumber();
    // The caption names the open group: "Karvena — Intermediate".
    void ShowCaption();
    // A group's name as its menu item has it (without the counts), the review's, an imported one's.
    QString GroupName(int group) const;
    // The problem row of a history key, from the collection whose key space holds it.
    std::optional<TProblemRow> RowOfHistoryKey(int32_t key);
    TStudyForm* m_Study = nullptr;
    std::unique_ptr<ISettingsStore> m_CommonSettings;
    TSetPasswordDlg* m_PasswordDlg = nullptr;
    TSoundPlayer m_Sounds;
    TSplashForm* m_Splash1 = nullptr;
    TSplashForm* m_Splash2 = nullptr;
    TStartSettings m_Start;
    bool m_FirstActivation = true;
    int m_OpenedGroup = -1;
    // The store the open group's problems come from.
    TProblemStore* m_OpenedStore = nullptr;
    // The history row and key of a line of the open group's index.
    std::optional<THistoryRow> HistoryOfLine(int index, int32_t* historyKey = nullptr) const;
    // Days ahead the review is gathered for while "Review ahead" opens it.
    int m_ReviewAheadDays = 0;
    TZoom m_Zoom;
    // "No. N" of the problem shown: the notice label shows it again when a notice ends.
    QString m_ProblemNumberText;
    std::array<QAction*, kCommandCount> m_Items{};
    QMenu* m_PopupMenuOpen = nullptr;
    std::vector<std::pair<QAction*, QAction*>> m_GroupItems; // File menu item, drop-down item
    std::map<int, QAction*> m_Keys;                           // the trainer's keys: key -> item
    std::vector<std::pair<QAction*, QAction*>> m_ImportedItems; // imported groups, both menus
    QMenu* m_FileMenu = nullptr;
    QAction* m_ImportedEnd = nullptr; // the separator after the level groups
    QMenu* m_RemoveMenu = nullptr;
};

} // namespace karvena
