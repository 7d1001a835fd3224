// Building the trainer's window: actions, menus, tool bars, the two pages, the status bar.
#include "shell/Main.h"
#include "shell/QtText.h"

#include <QActionGroup>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include "text/Texts.h"

namespace karvena {

TGoGameMainForm::TGoGameMainForm(const QString& programFolder,
                                 std::unique_ptr<ISettingsStore> settings,
                                 std::unique_ptr<ISettingsStore> commonSettings, QWidget* parent)
    : QMainWindow(parent), m_ProgramFolder(programFolder), m_Settings(std::move(settings)),
      m_CommonSettings(std::move(commonSettings)) {
    // The language flags were set before the window: its texts follow them.
    ShowStdResult = false;
    setWindowTitle(T("MainCaption"));
    CreatePages();
    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    ConnectParts();
    ApplyCaptions();

    // The remark lists, relative to the working folder.
    TRemarks remarks;
    remarks.English = LoadRemarkLines("Remark.txt");
    if (ChineseGB || ChineseBig5) remarks.Chinese = LoadRemarkLines("RemarkGB.txt", "GB18030");
    m_Loop->Remarks = remarks;
    m_Study = new TStudyForm(m_CommonSettings.get(), this);
    m_Study->hide();
    m_PasswordDlg = new TSetPasswordDlg(this);
    ShowIndexView();
    // The trainer's keys work wherever the focus is inside this window.
    qApp->installEventFilter(this);
}

TGoGameMainForm::~TGoGameMainForm() {
    // The study window writes its geometry to a store this window owns: it goes first.
    delete m_Study;
    m_Study = nullptr;
    // The board outlives nothing that points back at the loop.
    if (GoGame1) GoGame1->OnLegalMove = nullptr;
}

QAction* TGoGameMainForm::Action(const QString& name) const {
    const auto found = Actions.find(name);
    return found == Actions.end() ? nullptr : found->second;
}

QAction* TGoGameMainForm::MakeAction(const QString& name, const QString& english,
                                     std::function<void()> run, const QKeySequence& key,
                                     bool checkable) {
    auto* action = new QAction(english, this);
    action->setObjectName(name);
    action->setCheckable(checkable);
    if (!key.isEmpty()) {
        // The menus show the key; the window's key table (TrainerKey) does the work, so the
        // key also runs items that are hidden, or whose menu is closed, or on the other page.
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        m_Keys[key[0].key()] = action;
    }
    connect(action, &QAction::triggered, this, [run] { run(); });
    Actions[name] = action;
    return action;
}

void TGoGameMainForm::CreatePages() {
    Pages = new QStackedWidget(this);
    setCentralWidget(Pages);

    // The index page: the thumbnails and their scroll bar.
    tsIndex = new QWidget(Pages);
    auto* indexLayout = new QHBoxLayout(tsIndex);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->setSpacing(0);
    GoIndex1 = new TGoIndex(tsIndex);
    ScrollBar1 = new QScrollBar(Qt::Vertical, tsIndex);
    indexLayout->addWidget(GoIndex1, 1);
    indexLayout->addWidget(ScrollBar1);
    Pages->addWidget(tsIndex);

    // The problem page: the counters and try buttons on the left, the board on the right.
    tsProblem = new QWidget(Pages);
    auto* problemLayout = new QHBoxLayout(tsProblem);
    problemLayout->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, tsProblem);
    problemLayout->addWidget(Splitter1);

    // The counters scroll inside their panel when it is narrowed, so the splitter moves freely
    // and the panel gives way before the board does.
    auto* leftScroll = new QScrollArea(Splitter1);
    leftScroll->setObjectName("LeftPanel");
    leftScroll->setFrameShape(QFrame::NoFrame);
    leftScroll->setFocusPolicy(Qt::NoFocus);
    leftScroll->setWidgetResizable(true);
    leftScroll->setMinimumWidth(50);
    leftScroll->setMaximumWidth(260);
    leftScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* left = new QWidget();
    auto* leftLayout = new QVBoxLayout(left);
    auto label = [left, leftLayout](int pointSize = 0, bool bold = false) {
        auto* l = new QLabel(left);
        l->setWordWrap(true);
        if (pointSize || bold) {
            QFont f = l->font();
            if (pointSize) f.setPointSize(pointSize);
            f.setBold(bold);
            l->setFont(f);
        }
        // An empty label keeps its line, so the labels below never jump.
        l->setMinimumHeight(l->fontMetrics().lineSpacing());
        leftLayout->addWidget(l);
        return l;
    };
    LabelStdResult = label(0, true);
    LabelResult = label(20, true);
    LabelResult->setMinimumHeight(40);
    LabelSuccessCount = label();
    LabelSuccessCount->setStyleSheet("color: #1f7a1f; font-weight: bold;");
    LabelFailureCount = label();
    LabelHint0Count = label();
    LabelHint1Count = label();
    LabelTakebackCount = label();
    LabelStudyCount = label();
    LabelScore = label();
    LabelAttemptTime = label();
    LabelBestTime = label();
    leftLayout->addStretch(1);
    btnUndo = new QPushButton(left);
    btnNextMove = new QPushButton(left);
    btn1 = new QPushButton(left);
    btnStopStudy2 = new QPushButton(left);
    connect(btnUndo, &QPushButton::clicked, this, [this] { UndoTry(); });
    connect(btnNextMove, &QPushButton::clicked, this, [this] { NextTryMove(); });
    connect(btn1, &QPushButton::clicked, this, [this] { RestartTry(); });
    connect(btnStopStudy2, &QPushButton::clicked, this, [this] { StopTry(); });
    for (QPushButton* b : {btnUndo, btnNextMove, btn1, btnStopStudy2}) {
        b->setFocusPolicy(Qt::NoFocus);
        leftLayout->addWidget(b);
        b->setVisible(false); // shown while trying moves
    }
    auto* delayLabel = new QLabel(left);
    delayLabel->setWordWrap(true);
    delayLabel->setObjectName("DelayLabel");
    leftLayout->addWidget(delayLabel);
    TrackBar1 = new QSlider(Qt::Horizontal, left);
    TrackBar1->setRange(0, 30);
    TrackBar1->setValue(10);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setTickInterval(5);
    // The arrows, PgDn, Home and End are the trainer's keys: nothing on the page takes them.
    TrackBar1->setFocusPolicy(Qt::NoFocus);
    leftLayout->addWidget(TrackBar1);
    leftScroll->setWidget(left);

    auto* scroll = new QScrollArea(Splitter1);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(false);
    scroll->setAlignment(Qt::AlignCenter);
    PanelGoGame1 = scroll;
    GoGame1 = new TGoGame();
    GoGame1->ApplyMainFormPreset();
    GoGame1->SetDisplayInfo(1);
    GoGame1->SetDisplayWidth(130);
    scroll->setWidget(GoGame1);
    scroll->viewport()->installEventFilter(this);
    scroll->setMinimumSize(MinimumBoardSize());
    Splitter1->addWidget(leftScroll);
    Splitter1->addWidget(scroll);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setChildrenCollapsible(false);
    // The counters' usual width; the board takes the rest.
    Splitter1->setSizes({210, 800});
    Pages->addWidget(tsProblem);

    m_Statistics =
        std::make_unique<TStatistics>(*GoIndex1, m_History, static_cast<IStatisticsOutput&>(*this));
    m_Loop = std::make_unique<TSolveLoop>(*GoGame1, *GoIndex1, *m_Statistics,
                                          static_cast<ISolveOutput&>(*this));
    m_Loop->SetProblems(&m_Problems);
    m_Try = std::make_unique<TTryMode>(*GoGame1, *m_Loop);
}

void TGoGameMainForm::CreateActions() {
    // Level groups, with their numbers as tags.
    const struct {
        const char* file;
        const char* popup;
        const char* english;
        int tag;
    } groups[] = {{"miOrder1", "miOrder2", "&Order of ending game", -1},
                  {"miBasic1", "miBasic2", "Basic", 0},
                  {"miBeginner1", "miBeginner2", "Beginner", 1},
                  {"miIntermediate1", "miIntermediate2", "Intermediate", 2},
                  {"miAdvanced1", "miAdvanced2", "Advanced", 3},
                  {"miCustom1", "miCustom2", "Bonus", 4},
                  {"miAll1", "miAll2", "A&ll", -100}};
    for (const auto& g : groups) {
        const int tag = g.tag;
        QAction* file = MakeAction(g.file, g.english, [this, tag] { OpenGroup(tag, 0); });
        QAction* popup = MakeAction(g.popup, g.english, [this, tag] { OpenGroup(tag, 0); });
        file->setData(tag);
        popup->setData(tag);
        // Order, Basic, Bonus and All are hidden.
        const bool shown = tag >= 1 && tag <= 3;
        file->setVisible(shown);
        popup->setVisible(shown);
        m_GroupItems.emplace_back(file, popup);
    }
    MakeAction("miImport1", "&Import problems...", [this] { ImportProblems(); });
    m_ReviewItems = {MakeAction("miReview1", "Review", [this] { OpenGroup(kReviewGroup, 0); }),
                     MakeAction("miReview2", "Review", [this] { OpenGroup(kReviewGroup, 0); })};
    m_ReviewItems.first->setData(kReviewGroup);
    m_ReviewItems.second->setData(kReviewGroup);
    MakeAction("miClearallsolvedflags1", "Clear all solved flags",
               [this] {
                   m_Statistics->ClearAllSolvedFlags();
                   ShowGroupProgress();
               });
    MakeAction("miExit1", "Exit", [this] { close(); });

    MakeAction("miZoomin1", "Zoom &In", [this] { ZoomIn(); });
    MakeAction("miZoomout1", "Zoom &Out", [this] { ZoomOut(); })->setEnabled(false);
    MakeAction(
        "miProblemIndex1", "&Index", [this] { ShowIndexView(); }, {}, true);
    MakeAction(
        "miSolveIt1", "S&olve it", [this] { SolveIt(); }, {}, true);
    MakeAction("miFirstpage1", "&First page", [this] { FirstPage(); });
    MakeAction("miPriorpage1", "&Prior page", [this] { PriorPage(); });
    MakeAction("miNextpage1", "&Next page", [this] { NextPage(); });
    MakeAction("miLastpage1", "&Last page", [this] { LastPage(); });
    MakeAction("miFirstproblem1", "&First problem", [this] { FirstProblem(); });
    MakeAction(
        "miPriorproblem1", "&Prior problem", [this] { PriorProblem(); }, Qt::Key_Up);
    MakeAction(
        "miNextproblem1", "&Next problem", [this] { NextProblemCommand(); }, Qt::Key_Down);
    MakeAction("miLastproblem1", "&Last problem", [this] { LastProblem(); });
    MakeAction("miFind1", "Fin&d...", [] {})->setVisible(false);

    auto onPage = [this](std::function<void()> run) {
        return [this, run] {
            if (OnProblemPage()) run();
        };
    };
    QAction* result = MakeAction("miResult1", "&Result", onPage([this] {
                                     m_Statistics->Result1Click(OnProblemPage(),
                                                                m_Loop->StatedResult());
                                 }),
                                 Qt::Key_End);
    // The result command exists only behind the ShowStdResult switch: hidden, and its key idle.
    result->setVisible(ShowStdResult);
    result->setEnabled(ShowStdResult);
    MakeAction("miNextVOfComputer1", "&Next variation or retry after fail",
               onPage([this] { m_Loop->NextVariation(); }), Qt::Key_PageDown);
    MakeAction("miPgUp", "PgUp", onPage([this] { m_Loop->NextVariation(); }), Qt::Key_PageUp)
        ->setVisible(false);
    MakeAction("miF8", "F8", onPage([this] { m_Loop->NextVariation(); }), Qt::Key_F8)
        ->setVisible(false);
    MakeAction("miSolveAgain1", "Solve &again", onPage([this] { m_Loop->SolveAgain(); }),
               Qt::Key_Escape);
    MakeAction("miHome", "Home", onPage([this] { m_Loop->SolveAgain(); }), Qt::Key_Home)
        ->setVisible(false);
    MakeAction("miBack1", "&Back", onPage([this] { m_Loop->Back(); }), Qt::Key_Left);
    MakeAction("miBackSpace", "Backspace", onPage([this] { m_Loop->Back(); }), Qt::Key_Backspace)
        ->setVisible(false);
    MakeAction("miHint1", "&Hint", onPage([this] {
                   if (GoIndex1->Selected() >= 0) m_Loop->Hint(true);
               }),
               Qt::Key_Right);
    MakeAction(
        "miStudy1", "&Try", [this] { StartTry(); }, Qt::Key_F9);
    MakeAction(
        "miStopStudy1", "Sto&p try", [this] { StopTry(); }, Qt::Key_F10)
        ->setEnabled(false);
    MakeAction("Resetsolvedflag1", "Reset solved flag",
               [this] {
                   m_Statistics->ResetSolvedFlag();
                   ShowGroupProgress();
               });
    MakeAction("miWhatlevelImat1", "What level I'm at", [this] {
        m_Statistics->WhatLevelImAt(m_Problems);
    })->setVisible(false);
    MakeAction(
        "miStudyAtNewWindow1", "Study at &new window", [] {}, {}, true);

    MakeAction(
        "miSilent1", "&Silent", [this] { SetSilent(Action("miSilent1")->isChecked()); }, {}, true);
    MakeAction(
        "miHintallowed1", "Hint allowed", [this] { HintAllowedClick(); }, {}, true);
    MakeAction(
        "miDisplaynumbers1", "Display numbers if possible",
        [this] {
            m_Loop->SetDisplayNumbers(Action("miDisplaynumbers1")->isChecked());
            // Shown or removed at once on the board; on the index page there is nothing to redo.
            if (OnProblemPage()) m_Loop->SolveAgain();
        },
        {}, true);
    MakeAction(
        "NextproblemAutomaticallyWhenSolved1", "Next Problem &Automatically when solved",
        [this] {
            m_Loop->Options().NextProblemAutomatically =
                Action("NextproblemAutomaticallyWhenSolved1")->isChecked();
        },
        {}, true);
    MakeAction(
        "miTakebackautomatically1", "Takeback automatically ",
        [this] {
            m_Loop->Options().TakebackAutomatically =
                Action("miTakebackautomatically1")->isChecked();
        },
        {}, true);
    MakeAction("miDelaybeforetakebackautomatically1",
               "Delay time (seconds) before takeback automatically", [this] { DelayCommand(); });
    MakeAction(
        "miBestCounterMoveOnly1", "Computer always makes best counter-move", [] {}, {}, true)
        ->setVisible(false);
    // A problem not yet touched is shown in the new way at once; one in play keeps its look
    // until it is set up again.
    auto orientationOption = [this](const char* name, const char* english,
                                    bool TSolveOptions::*option) {
        MakeAction(
            name, english,
            [this, name, option] {
                m_Loop->Options().*option = Action(name)->isChecked();
                if (OnProblemPage() && !GoGame1->Study() && m_Loop->AtStart()) m_Loop->SetUp();
            },
            {}, true);
    };
    orientationOption("miRandomOrientation1", "Random &orientation",
                      &TSolveOptions::RandomOrientation);
    orientationOption("miRandomColours1", "Random &colours", &TSolveOptions::RandomColours);
    MakeAction(
        "miComputerdonotplaybadmove1", "Computer do not play bad move(marked with ?)",
        [this] {
            m_Loop->SetComputerDoNotPlayBadMove(Action("miComputerdonotplaybadmove1")->isChecked());
        },
        {}, true);
    MakeAction(
        "misgf1", "sgf &board",
        [this] { GoGame1->SetsgfCoordinate(Action("misgf1")->isChecked()); }, {}, true)
        ->setChecked(true);
    MakeAction(
        "miPlainbackground1", "Plain back&ground",
        [this] { SetPlainBackground(Action("miPlainbackground1")->isChecked()); }, {}, true)
        ->setChecked(true);
    for (int n = 1; n <= 10; ++n) {
        const QString caption = n == 1 ? "1(Quick)" : (n == 10 ? "10(Slow)" : QString::number(n));
        QAction* speed = MakeAction(
            n == 1 ? "miN11" : (n == 10 ? "miN101" : QString("miN%1").arg(n)), caption,
            [this, n] { SetDelay(n); }, {}, true);
        speed->setData(n);
    }
    const std::pair<const char*, const char*> languages[] = {
        {"en", "LanguageEnglish"}, {"zh_CN", "LanguageSimplified"}, {"zh_TW", "LanguageTraditional"}};
    for (const auto& [language, caption] : languages) {
        const std::string setting = language;
        MakeAction(
            QString("miLanguage_") + language, T(caption),
            [this, setting] {
                if (m_Settings->Usable()) m_Settings->Set("Language", setting);
                Message("info", T("miLanguage1").remove('&'),
                        Q(LocalOf("The language changes at the next start.",
                                  "语言将在下次启动时更改。")));
            },
            {}, true);
    }
    MakeAction("miGuide1", "Guide", [this] { Guide(); });
    MakeAction("miAbout1", "About...", [this] { About(); });

    // Tool buttons: their own actions, calling the same commands.
    const struct {
        const char* name;
        const char* command;
        QStyle::StandardPixmap icon;
    } buttons[] = {
        {"btnProblemIndex", "miProblemIndex1", QStyle::SP_FileDialogListView},
        {"btnSolveIt", "miSolveIt1", QStyle::SP_MediaPlay},
        {"btnFirstPage", "miFirstpage1", QStyle::SP_MediaSkipBackward},
        {"btnPriorPage", "miPriorpage1", QStyle::SP_MediaSeekBackward},
        {"btnNextPage", "miNextpage1", QStyle::SP_MediaSeekForward},
        {"btnLastPage", "miLastpage1", QStyle::SP_MediaSkipForward},
        {"btnFirstProblem", "miFirstproblem1", QStyle::SP_MediaSkipBackward},
        {"btnPriorProblem", "miPriorproblem1", QStyle::SP_ArrowUp},
        {"btnNextProblem", "miNextproblem1", QStyle::SP_ArrowDown},
        {"btnLastProblem", "miLastproblem1", QStyle::SP_MediaSkipForward},
        {"btnSolveAgain1", "miSolveAgain1", QStyle::SP_BrowserReload},
        {"btnBack1", "miBack1", QStyle::SP_ArrowBack},
        {"btnNextVofComputer", "miNextVOfComputer1", QStyle::SP_ArrowForward},
        {"btnResult1", "miResult1", QStyle::SP_DialogApplyButton},
        {"btnHint1", "miHint1", QStyle::SP_MessageBoxQuestion},
        {"btnStudy1", "miStudy1", QStyle::SP_FileDialogDetailedView},
        {"btnStopStudy1", "miStopStudy1", QStyle::SP_MediaStop},
    };
    for (const auto& b : buttons) {
        QAction* command = Action(b.command);
        auto* action = new QAction(style()->standardIcon(b.icon), b.name, this);
        action->setObjectName(b.name);
        connect(action, &QAction::triggered, command, &QAction::trigger);
        Actions[b.name] = action;
    }
    Action("btnResult1")->setVisible(false);
    Action("btnStopStudy1")->setVisible(false);
}

void TGoGameMainForm::BringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void TGoGameMainForm::SetSilent(bool silent) {
    Action("miSilent1")->setChecked(silent);
    // Two pictures tell the state at a glance: a speaker, or a muted one.
    Action("miSilent1")
        ->setIcon(
            style()->standardIcon(silent ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
    m_Sounds.SetSilent(silent);
}

void TGoGameMainForm::CreateMenus() {
    auto add = [this](QMenu* menu, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (QString(name) == "-")
                menu->addSeparator();
            else
                menu->addAction(Action(name));
        }
    };
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("miFile1");
    m_FileMenu = file;
    add(file, {"miOrder1", "miBasic1", "miBeginner1", "miIntermediate1", "miAdvanced1", "miCustom1",
               "miAll1"});
    // The imported groups go between the bundled ones and this separator, the review after it.
    m_ImportedEnd = file->addSeparator();
    file->addAction(m_ReviewItems.first);
    file->addSeparator();
    add(file, {"miImport1"});
    m_RemoveMenu = file->addMenu("&Remove imported group");
    m_RemoveMenu->setObjectName("miRemoveGroup1");
    m_RemoveMenu->menuAction()->setEnabled(false);
    add(file, {"-", "miClearallsolvedflags1", "-", "miExit1"});
    // The counts beside the imported groups are those of the moment the menu opens.
    connect(file, &QMenu::aboutToShow, this, [this] { RefreshGroupMenus(); });
    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("miView1");
    add(view, {"miZoomin1", "miZoomout1", "-", "miProblemIndex1", "miSolveIt1", "-", "miFirstpage1",
               "miPriorpage1", "miNextpage1", "miLastpage1", "miFirstproblem1", "miPriorproblem1",
               "miNextproblem1", "miLastproblem1", "-", "miFind1"});
    QMenu* solve = menuBar()->addMenu("&Solve");
    solve->setObjectName("miSolve1");
    add(solve,
        {"miNextVOfComputer1", "miSolveAgain1", "miBack1", "miHint1", "miResult1", "-", "miStudy1",
         "miStopStudy1", "miStudyAtNewWindow1", "-", "Resetsolvedflag1", "miWhatlevelImat1"});
    QMenu* options = menuBar()->addMenu("&Options");
    options->setObjectName("miOptions1");
    add(options, {"miSilent1", "miHintallowed1", "miDisplaynumbers1",
                  "NextproblemAutomaticallyWhenSolved1", "miTakebackautomatically1",
                  "miDelaybeforetakebackautomatically1", "miBestCounterMoveOnly1",
                  "miComputerdonotplaybadmove1", "-", "miRandomOrientation1", "miRandomColours1",
                  "-", "misgf1", "miPlainbackground1"});
    QMenu* speed = options->addMenu("S&peed");
    speed->setObjectName("miSpeed1");
    speed->menuAction()->setVisible(false);
    auto* speeds = new QActionGroup(this);
    for (int n = 1; n <= 10; ++n) {
        QAction* item = Action(n == 1 ? "miN11" : (n == 10 ? "miN101" : QString("miN%1").arg(n)));
        speeds->addAction(item);
        speed->addAction(item);
    }
    QMenu* language = options->addMenu("&Language");
    language->setObjectName("miLanguage1");
    auto* languages = new QActionGroup(this);
    for (const char* code : {"en", "zh_CN", "zh_TW"}) {
        QAction* item = Action(QString("miLanguage_") + code);
        languages->addAction(item);
        language->addAction(item);
        item->setChecked(LanguageSetting(CurrentLanguage()) == code);
    }
    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("miHelp1");
    add(help, {"miGuide1", "miAbout1"});
    // The hidden items miHome, miBackSpace, miPgUp and miF8 carry keys only: in no menu.
}

void TGoGameMainForm::CreateToolBars() {
    ToolBarMain = addToolBar("Main");
    ToolBarMain->setObjectName("ToolBarMain");
    ToolBarMain->setMovable(false);
    ToolBarMain->setIconSize(QSize(22, 22));
    m_PopupMenuOpen = new QMenu(this);
    for (const auto& item : m_GroupItems)
        m_PopupMenuOpen->addAction(item.second);
    m_PopupMenuOpen->addAction(m_ReviewItems.second);
    m_PopupMenuOpen->addSeparator();
    connect(m_PopupMenuOpen, &QMenu::aboutToShow, this, [this] { RefreshGroupMenus(); });
    btnOpen = new QToolButton(this);
    btnOpen->setObjectName("btnOpen");
    btnOpen->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    btnOpen->setMenu(m_PopupMenuOpen);
    btnOpen->setPopupMode(QToolButton::MenuButtonPopup);
    connect(btnOpen, &QToolButton::clicked, this, [this] {
        // The group of the drop-down item marked default, else group 0.
        int group = 0;
        for (const QAction* item : m_PopupMenuOpen->actions())
            if (!item->isSeparator() && item->font().bold()) {
                group = item->data().toInt();
                break;
            }
        OpenGroup(group, 0);
    });
    ToolBarMain->addWidget(btnOpen);
    for (const char* name : {"btnProblemIndex", "btnSolveIt", "|", "btnFirstPage", "btnPriorPage",
                             "btnNextPage", "btnLastPage", "btnFirstProblem", "btnPriorProblem",
                             "btnNextProblem", "btnLastProblem"}) {
        if (QString(name) == "|")
            ToolBarMain->addSeparator();
        else
            ToolBarMain->addAction(Action(name));
    }
    ToolBarSolveIt = addToolBar("Solve it");
    ToolBarSolveIt->setObjectName("ToolBarSolveIt");
    ToolBarSolveIt->setMovable(false);
    ToolBarSolveIt->setIconSize(QSize(22, 22));
    for (const char* name : {"btnSolveAgain1", "btnBack1", "btnNextVofComputer", "btnResult1",
                             "btnHint1", "btnStudy1", "btnStopStudy1"})
        ToolBarSolveIt->addAction(Action(name));
    ToolBarSolveIt->setVisible(false);
}

void TGoGameMainForm::CreateStatusBar() {
    StatusPanel0 = new QLabel(this);
    StatusPanel0->setMinimumWidth(100);
    StatusPanel0->setToolTip("Double click here to  change the width");
    StatusPanel1 = new QLabel(this);
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);
    // The open group's solved/total, on the right: the solve loop empties panel 0 at each move.
    StatusProgress = new QLabel(this);
    StatusProgress->setObjectName("StatusProgress");
    statusBar()->addPermanentWidget(StatusProgress);
    StatusPanel0->installEventFilter(this);
}

void TGoGameMainForm::ConnectParts() {
    GoIndex1->OnSelectedChanged = [this](TGoIndexModel&, int position, int, int) {
        if (position >= 0) SolveIt();
    };
    // The scroll bar spans the rows of the list, a page at a time, for every list and grid.
    auto fitScrollBar = [this](TGoIndexModel&, int, int, int) {
        ScrollBar1->setRange(1, std::max(1, GoIndex1->RowCount()));
        ScrollBar1->setPageStep(GoIndex1->Rows());
        ScrollBar1->setValue(GoIndex1->TopRow());
    };
    GoIndex1->OnGamesChanged = fitScrollBar;
    GoIndex1->OnGridChanged = fitScrollBar;
    GoIndex1->OnTopRowChanged = [this](TGoIndexModel&, int row, int, int) {
        ScrollBar1->setValue(row);
    };
    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != GoIndex1->TopRow()) GoIndex1->SetTopRow(value);
    });
    // The right button on the board sets the problem up again.
    GoGame1->OnMouseUp = [this](TGoGame& board, QMouseEvent* event) {
        if (event->button() == Qt::RightButton && !board.Process().empty() &&
            Action("btnSolveAgain1")->isEnabled())
            m_Loop->SolveAgain();
    };
    Timer1.setSingleShot(true);
    Timer1.setInterval(5000);
    connect(&Timer1, &QTimer::timeout, this, [this] { m_Loop->NextVariation(); });
    AttemptClock.setInterval(1000);
    connect(&AttemptClock, &QTimer::timeout, this, [this] { ShowAttemptTime(); });
    Timer2.setSingleShot(true);
    Timer2.setInterval(5000);
    // The notice ends: the label shows the problem's number again.
    connect(&Timer2, &QTimer::timeout, this, [this] {
        LabelStdResult->setText(m_ProblemNumberText);
        LabelStdResult->setStyleSheet("");
    });
    connect(TrackBar1, &QSlider::valueChanged, this, [this](int position) {
        Timer1.setInterval(TakebackInterval(position));
        m_Loop->Options().DelayBeforeTakebackAutomatically = position;
        if (auto* label = findChild<QLabel*>("DelayLabel"))
            label->setText(T("TrackBar1") + ": " + QString::number(position));
    });
    m_Splash1 = new TSplashForm(
        T("HintWindow1"), true,
        [this](bool on) {
            if (m_Settings->Usable()) m_Settings->Set("DisplaySpashForm1", on ? "1" : "0");
        },
        this);
    m_Splash2 = new TSplashForm(
        T("HintWindow2"), true,
        [this](bool on) {
            if (m_Settings->Usable()) m_Settings->Set("DisplaySpashForm2", on ? "1" : "0");
        },
        this);
}

void TGoGameMainForm::ApplyCaptions() {
    for (auto& [name, action] : Actions) {
        const TTextEntry* entry = FindText(name.toStdString());
        if (!entry) continue;
        if (name.startsWith("btn")) {
            // The tool bar shows the picture; its overflow menu shows the text.
            action->setToolTip(T(name.toStdString().c_str()));
            action->setText(T(name.toStdString().c_str()));
        } else
            action->setText(T(name.toStdString().c_str()));
    }
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        if (FindText(menu->objectName().toStdString()))
            menu->setTitle(T(menu->objectName().toStdString().c_str()));
    }
    // The drop-down items copy the captions of the File menu's group items.
    for (const auto& item : m_GroupItems)
        item.second->setText(item.first->text());
    btnOpen->setToolTip(T("btnOpen"));
    btnUndo->setText(T("btnUndo"));
    btnNextMove->setText(T("btnNextMove"));
    btn1->setText(T("btn1"));
    btnStopStudy2->setText(T("btnStopStudy2"));
    TrackBar1->setToolTip(T("TrackBar1"));
    if (auto* label = findChild<QLabel*>("DelayLabel"))
        label->setText(T("TrackBar1") + ": " + QString::number(TrackBar1->value()));
    setWindowTitle(T("MainCaption"));
    GoGame1->SetLanguage(ChineseBig5 ? 1 : (ChineseGB ? 0 : 2));
    GoGame1->OnToBig5 = [](TGoBoard&, std::string& text) { text = ToLocalText(text); };
}

bool TGoGameMainForm::Message(const QString& kind, const QString& title, const QString& text) {
    if (MessageHook) return MessageHook(kind, title, text);
    if (kind == "question") {
        return QMessageBox::question(this, title, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }
    if (kind == "warning")
        QMessageBox::warning(this, title, text);
    else
        QMessageBox::information(this, title, text);
    return true;
}

void TGoGameMainForm::About() {
    // The problems' attribution in the trainer's language (traditional Chinese converted).
    const bool chinese = ChineseGB || ChineseBig5;
    QFile attribution(chinese ? ":/texts/ATTRIBUTION.zh_CN.txt" : ":/texts/ATTRIBUTION.txt");
    QString problems;
    if (attribution.open(QIODevice::ReadOnly)) {
        const std::string read = attribution.readAll().toStdString();
        problems = Q(chinese ? ToLocalText(read) : read);
    }
    const QString program = Q(Tx("AboutProgramLicence"));
    const QString text = QString("<h3>%1</h3><p>%2</p><p>%3</p><p style=\"font-size:small\">%4</p>")
                             .arg(Q(LocalOf("Karvena", "Karvena 围棋死活训练")),
                                  Q(Tx("ProductTitle")), program.toHtmlEscaped(),
                                  problems.toHtmlEscaped().replace("\n\n", "<br><br>"));
    if (MessageHook) {
        MessageHook("about", Q(LocalOf("About", "关于")), text);
        return;
    }
    QMessageBox box(this);
    box.setWindowTitle(Q(LocalOf("About", "关于")));
    box.setTextFormat(Qt::RichText);
    box.setTextInteractionFlags(Qt::TextBrowserInteraction);
    box.setText(text);
    box.exec();
}

void TGoGameMainForm::Guide() {
    for (const QString& name : {QString("index.html"), QString("html/index.html")}) {
        const QString path = m_ProgramFolder + "/" + name;
        if (QFile::exists(path)) {
            const QUrl url = QUrl::fromLocalFile(path);
            const bool opened = OpenUrlHook ? OpenUrlHook(url) : QDesktopServices::openUrl(url);
            // No browser could be started: the player can still open the page by hand.
            if (!opened)
                Message("info", T("miGuide1").remove('&'),
                        Q(Tx("GuideNoBrowser")) +
                            "\n" + QDir::toNativeSeparators(path));
            return;
        }
    }
    Message("info", T("miGuide1").remove('&'),
            Q(LocalOf("The guide page was not found beside the program.",
                      "程序目录中没有找到指南页面。")));
}

bool TGoGameMainForm::TrainerKey(QObject* receiver, QKeyEvent* event) {
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || widget->window() != this) return false;
    // The menu bar after Alt, and its menus, take their own keys.
    if (qobject_cast<QMenuBar*>(widget) || qobject_cast<QMenu*>(widget)) return false;
    if (event->modifiers() & ~Qt::KeypadModifier) return false;
    const auto found = m_Keys.find(event->key());
    if (found == m_Keys.end()) return false;
    // trigger() passes over an item that was disabled on purpose (during a try, say).
    found->second->trigger();
    return true;
}

bool TGoGameMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && TrainerKey(watched, static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == GoGame1 && (event->type() == QEvent::MouseButtonPress ||
                               event->type() == QEvent::MouseButtonRelease)) {
        // A click on a hint window is the window's, even where the window system hands it to the
        // board beneath (a window that takes no focus is not always the one clicked).
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        for (TSplashForm* hint : {m_Splash1, m_Splash2})
            if (hint && hint->isVisible() && hint->frameGeometry().contains(at)) return true;
    }
    if (watched == StatusPanel0 && event->type() == QEvent::MouseButtonDblClick) {
        StatusPanel0->setFixedWidth(
            StatusPanel0->width() >= 100 ? 60 : std::max(60, statusBar()->width() - 60));
        return true;
    }
    if (event->type() == QEvent::Resize && PanelGoGame1 &&
        watched == static_cast<QScrollArea*>(PanelGoGame1)->viewport())
        FitBoardToPanel();
    // The panel's texture follows the board as it is centred anew.
    if (event->type() == QEvent::Move && watched == GoGame1 && GoGame1->Painting())
        SetPlainBackground(false);
    return QMainWindow::eventFilter(watched, event);
}

} // namespace karvena
