// The window's commands: the items and tool buttons made from the command table, the menus
// and tool bars laid out from its lists, and their captions from the text table.
#include "shell/Main.h"
#include "shell/QtText.h"
#include "shell/ToolIcons.h"

#include <QActionGroup>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include "text/Texts.h"

namespace karvena {

QAction* TGoGameMainForm::MakeAction(TCommand command, const QString& english,
                                     std::function<void()> run, const QKeySequence& key,
                                     bool checkable) {
    auto* action = new QAction(english, this);
    action->setObjectName(CommandName(command));
    action->setCheckable(checkable);
    if (!key.isEmpty()) {
        // The menus show the key; the window's key table (TrainerKey) does the work, so the
        // key also runs items that are hidden, or whose menu is closed, or on the other page.
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        m_Keys[key[0].key()] = action;
    }
    connect(action, &QAction::triggered, this, [run] { run(); });
    m_Items[static_cast<std::size_t>(command)] = action;
    return action;
}

void TGoGameMainForm::CreateActions() {
    // Level groups, with their numbers as tags.
    using enum TCommand;
    const struct {
        TCommand file;
        TCommand popup;
        const char* english;
        int tag;
    } groups[] = {{miOrder1, miOrder2, "&Order of ending game", -1},
                  {miBasic1, miBasic2, "Basic", 0},
                  {miBeginner1, miBeginner2, "Beginner", 1},
                  {miIntermediate1, miIntermediate2, "Intermediate", 2},
                  {miAdvanced1, miAdvanced2, "Advanced", 3},
                  {miCustom1, miCustom2, "Bonus", 4},
                  {miAll1, miAll2, "A&ll", -100}};
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
    MakeAction(TCommand::miImport1, "&Import problems...", [this] { ImportProblems(); });
    MakeAction(TCommand::miExportStatistics1, "Export &statistics...", [this] { ExportStatistics(); });
    MakeAction(TCommand::miTimedSet1, "&Timed set...", [this] { TimedSetCommand(); });
    MakeAction(TCommand::miLeaveTimedSet1, "&Leave timed set", [this] { LeaveTimedSet(); })->setVisible(false);
    MakeAction(TCommand::miStatistics1, "S&tatistics", [this] { ShowStatisticsView(); });
    m_ReviewItems = {MakeAction(TCommand::miReview1, "Review", [this] { OpenGroup(kReviewGroup, 0); }),
                     MakeAction(TCommand::miReview2, "Review", [this] { OpenGroup(kReviewGroup, 0); })};
    MakeAction(TCommand::miOneStepHint1, "&One-step hint (the move at once)", [this] {
        m_Loop->Options().OneStepHint = Item(TCommand::miOneStepHint1)->isChecked();
    }, {}, true);
    // The hint windows switched off with "Do not display" come back.
    MakeAction(TCommand::miShowHintWindows1, "Show the &hint windows again", [this] {
        for (TSplashForm* hint : {m_Splash1, m_Splash2}) hint->SetDisplayFlag(true);
        if (m_Settings->Usable())
            for (const char* flag : {"DisplaySpashForm1", "DisplaySpashForm2"}) m_Settings->Set(flag, "1");
    });
    // The review of tomorrow, opened today.
    MakeAction(TCommand::miReviewAhead1, "Review &ahead", [this] {
        m_ReviewAheadDays = 1;
        OpenGroup(kReviewGroup, 0);
        m_ReviewAheadDays = 0;
    });
    m_ReviewItems.first->setData(kReviewGroup);
    m_ReviewItems.second->setData(kReviewGroup);
    MakeAction(TCommand::miClearallsolvedflags1, "Clear all solved flags",
               [this] {
                   m_Statistics->ClearAllSolvedFlags();
                   ShowGroupProgress();
               });
    MakeAction(TCommand::miExit1, "Exit", [this] { close(); });

    MakeAction(TCommand::miZoomin1, "Zoom &In", [this] { ZoomIn(); });
    MakeAction(TCommand::miZoomout1, "Zoom &Out", [this] { ZoomOut(); })->setEnabled(false);
    MakeAction(TCommand::miProblemIndex1, "&Index", [this] { ShowIndexView(); }, {}, true);
    MakeAction(TCommand::miSolveIt1, "S&olve it", [this] { SolveIt(); }, {}, true);
    MakeAction(TCommand::miFirstpage1, "&First page", [this] { FirstPage(); });
    MakeAction(TCommand::miPriorpage1, "&Prior page", [this] { PriorPage(); });
    MakeAction(TCommand::miNextpage1, "&Next page", [this] { NextPage(); });
    MakeAction(TCommand::miLastpage1, "&Last page", [this] { LastPage(); });
    MakeAction(TCommand::miFirstproblem1, "&First problem", [this] { FirstProblem(); });
    MakeAction(TCommand::miPriorproblem1, "&Prior problem", [this] { PriorProblem(); }, Qt::Key_Up);
    MakeAction(TCommand::miNextproblem1, "&Next problem", [this] { NextProblemCommand(); }, Qt::Key_Down);
    MakeAction(TCommand::miLastproblem1, "&Last problem", [this] { LastProblem(); });
    MakeAction(TCommand::miFind1, "Fin&d...", [] {})->setVisible(false);

    auto onPage = [this](std::function<void()> run) {
        return [this, run] {
            if (OnProblemPage()) run();
        };
    };
    QAction* result = MakeAction(TCommand::miResult1, "&Result", onPage([this] {
                                     m_Statistics->Result1Click(OnProblemPage(),
                                                                m_Loop->StatedResult());
                                 }),
                                 Qt::Key_End);
    // The result command exists only behind the ShowStdResult switch: hidden, and its key idle.
    result->setVisible(ShowStdResult);
    result->setEnabled(ShowStdResult);
    MakeAction(TCommand::miNextVOfComputer1, "&Next variation or retry after fail",
               onPage([this] { m_Loop->NextVariation(); }), Qt::Key_PageDown);
    MakeAction(TCommand::miPgUp, "PgUp", onPage([this] { m_Loop->NextVariation(); }), Qt::Key_PageUp)
        ->setVisible(false);
    MakeAction(TCommand::miF8, "F8", onPage([this] { m_Loop->NextVariation(); }), Qt::Key_F8)
        ->setVisible(false);
    MakeAction(TCommand::miSolveAgain1, "Solve &again", onPage([this] { m_Loop->SolveAgain(); }),
               Qt::Key_Escape);
    MakeAction(TCommand::miHome, "Home", onPage([this] { m_Loop->SolveAgain(); }), Qt::Key_Home)
        ->setVisible(false);
    MakeAction(TCommand::miBack1, "&Back", onPage([this] { m_Loop->Back(); }), Qt::Key_Left);
    MakeAction(TCommand::miBackSpace, "Backspace", onPage([this] { m_Loop->Back(); }), Qt::Key_Backspace)
        ->setVisible(false);
    MakeAction(TCommand::miHint1, "&Hint", onPage([this] {
                   if (GoIndex1->Selected() >= 0) m_Loop->Hint(true);
               }),
               Qt::Key_Right);
    MakeAction(TCommand::miStudy1, "&Try", [this] { StartTry(); }, Qt::Key_F9);
    MakeAction(TCommand::miStopStudy1, "Sto&p try", [this] { StopTry(); }, Qt::Key_F10)
        ->setEnabled(false);
    MakeAction(TCommand::Resetsolvedflag1, "Reset solved flag",
               [this] {
                   m_Statistics->ResetSolvedFlag();
                   ShowGroupProgress();
               });
    MakeAction(TCommand::miWhatlevelImat1, "What level I'm at", [this] {
        m_Statistics->WhatLevelImAt(m_Collections.Bundled());
    })->setVisible(false);
    MakeAction(TCommand::miStudyAtNewWindow1, "Study at &new window", [] {}, {}, true);

    MakeAction(TCommand::miSilent1, "&Silent", [this] { SetSilent(Item(TCommand::miSilent1)->isChecked()); }, {}, true);
    MakeAction(TCommand::miHintallowed1, "Hint allowed", [this] { HintAllowedClick(); }, {}, true);
    MakeAction(TCommand::miDisplaynumbers1, "Display numbers if possible",
        [this] {
            m_Loop->SetDisplayNumbers(Item(TCommand::miDisplaynumbers1)->isChecked());
            // Shown or removed at once on the board; on the index page there is nothing to redo.
            if (OnProblemPage()) m_Loop->SolveAgain();
        },
        {}, true);
    MakeAction(TCommand::NextproblemAutomaticallyWhenSolved1, "Next Problem &Automatically when solved",
        [this] {
            m_Loop->Options().NextProblemAutomatically =
                Item(TCommand::NextproblemAutomaticallyWhenSolved1)->isChecked();
        },
        {}, true);
    MakeAction(TCommand::miTakebackautomatically1, "Takeback automatically ",
        [this] {
            m_Loop->Options().TakebackAutomatically =
                Item(TCommand::miTakebackautomatically1)->isChecked();
        },
        {}, true);
    MakeAction(TCommand::miDelaybeforetakebackautomatically1,
               "Delay time (seconds) before takeback automatically", [this] { DelayCommand(); });
    MakeAction(TCommand::miBestCounterMoveOnly1, "Computer always makes best counter-move", [] {}, {}, true)
        ->setVisible(false);
    // A problem not yet touched is shown in the new way at once; one in play keeps its look
    // until it is set up again.
    auto orientationOption = [this](TCommand command, const char* english,
                                    bool TSolveOptions::*option) {
        MakeAction(
            command, english,
            [this, command, option] {
                m_Loop->Options().*option = Item(command)->isChecked();
                if (OnProblemPage() && !GoGame1->Study() && m_Loop->AtStart()) m_Loop->SetUp();
            },
            {}, true);
    };
    orientationOption(miRandomOrientation1, "Random &orientation",
                      &TSolveOptions::RandomOrientation);
    orientationOption(miRandomColours1, "Random &colours", &TSolveOptions::RandomColours);
    MakeAction(TCommand::miJudgeMoves1, "&Judge moves the answer does not list",
        [this] {
            m_Loop->Options().JudgeMovesTheAnswerDoesNotList = Item(TCommand::miJudgeMoves1)->isChecked();
        },
        {}, true)
        ->setChecked(true);
    MakeAction(TCommand::miComputerdonotplaybadmove1, "Computer do not play bad move(marked with ?)",
        [this] {
            m_Loop->SetComputerDoNotPlayBadMove(Item(TCommand::miComputerdonotplaybadmove1)->isChecked());
        },
        {}, true);
    MakeAction(TCommand::misgf1, "sgf &board",
        [this] { GoGame1->SetsgfCoordinate(Item(TCommand::misgf1)->isChecked()); }, {}, true)
        ->setChecked(true);
    MakeAction(TCommand::miPlainbackground1, "Plain back&ground",
        [this] { SetPlainBackground(Item(TCommand::miPlainbackground1)->isChecked()); }, {}, true)
        ->setChecked(true);
    for (int n = 1; n <= 10; ++n) {
        const QString caption = n == 1 ? "1(Quick)" : (n == 10 ? "10(Slow)" : QString::number(n));
        QAction* speed = MakeAction(
            SpeedCommand(n), caption,
            [this, n] { SetDelay(n); }, {}, true);
        speed->setData(n);
    }
    for (const auto& [command, language, caption] : Languages()) {
        const std::string setting = language;
        MakeAction(
            command, T(caption),
            [this, setting] {
                if (m_Settings->Usable()) m_Settings->Set("Language", setting);
                Message("info", Plain(T("miLanguage1")),
                        Q(LocalOf("The language changes at the next start.",
                                  "语言将在下次启动时更改。")));
            },
            {}, true);
    }
    MakeAction(TCommand::miGuide1, "Guide", [this] { Guide(); });
    MakeAction(TCommand::miAbout1, "About...", [this] { About(); });

    CreateToolButtons();
    Item(TCommand::btnResult1)->setVisible(false);
    Item(TCommand::btnStopStudy1)->setVisible(false);
}

void TGoGameMainForm::CreateToolButtons() {
    using enum TCommand;
    using enum TToolPicture;
    const std::pair<TCommand, TToolPicture> pictures[] = {
        {btnProblemIndex, List},    {btnSolveIt, Play},       {btnFirstPage, First},
        {btnPriorPage, Prior},      {btnNextPage, Next},      {btnLastPage, Last},
        {btnFirstProblem, First},   {btnPriorProblem, Up},    {btnNextProblem, Down},
        {btnLastProblem, Last},     {btnSolveAgain1, Again},  {btnBack1, Back},
        {btnNextVofComputer, Forward}, {btnResult1, Tick},    {btnHint1, Question},
        {btnStudy1, Try},           {btnStopStudy1, Stop},
    };
    for (const auto& [button, picture] : pictures) {
        QAction* command = Item(*ButtonCommand(button));
        auto* action = new QAction(ToolIcon(picture), CommandName(button), this);
        action->setObjectName(CommandName(button));
        connect(action, &QAction::triggered, command, &QAction::trigger);
        m_Items[static_cast<std::size_t>(button)] = action;
    }
}

void TGoGameMainForm::AddItems(QWidget* to, std::span<const TCommand> items) {
    for (const TCommand command : items) {
        if (command != kSeparator)
            to->addAction(Item(command));
        else if (auto* menu = qobject_cast<QMenu*>(to))
            menu->addSeparator();
        else if (auto* bar = qobject_cast<QToolBar*>(to))
            bar->addSeparator();
    }
}

void TGoGameMainForm::SetSilent(bool silent) {
    Item(TCommand::miSilent1)->setChecked(silent);
    // Two pictures tell the state at a glance: a speaker, or a muted one.
    Item(TCommand::miSilent1)
        ->setIcon(
            ToolIcon(silent ? TToolPicture::Silent : TToolPicture::Sound));
    m_Sounds.SetSilent(silent);
}

void TGoGameMainForm::CreateMenus() {
    using enum TCommand;
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("miFile1");
    m_FileMenu = file;
    for (const auto& item : m_GroupItems)
        file->addAction(item.first);
    // The imported groups go between the bundled ones and this separator, the review after it.
    m_ImportedEnd = file->addSeparator();
    file->addAction(m_ReviewItems.first);
    file->addAction(Item(miReviewAhead1));
    file->addSeparator();
    file->addAction(Item(miImport1));
    m_RemoveMenu = file->addMenu("&Remove imported group");
    m_RemoveMenu->setObjectName("miRemoveGroup1");
    m_RemoveMenu->menuAction()->setEnabled(false);
    AddItems(file, std::array{kSeparator, miTimedSet1, miLeaveTimedSet1, miExportStatistics1, kSeparator, miClearallsolvedflags1, kSeparator,
                              miExit1});
    // The counts beside the imported groups are those of the moment the menu opens.
    connect(file, &QMenu::aboutToShow, this, [this] { RefreshGroupMenus(); });
    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("miView1");
    AddItems(view, ViewMenu());
    QMenu* solve = menuBar()->addMenu("&Solve");
    solve->setObjectName("miSolve1");
    AddItems(solve, SolveMenu());
    QMenu* options = menuBar()->addMenu("&Options");
    options->setObjectName("miOptions1");
    AddItems(options, OptionsMenu());
    QMenu* speed = options->addMenu("S&peed");
    speed->setObjectName("miSpeed1");
    speed->menuAction()->setVisible(false);
    auto* speeds = new QActionGroup(this);
    for (int n = 1; n <= 10; ++n) {
        QAction* item = Item(SpeedCommand(n));
        speeds->addAction(item);
        speed->addAction(item);
    }
    QMenu* language = options->addMenu("&Language");
    language->setObjectName("miLanguage1");
    auto* languages = new QActionGroup(this);
    for (const auto& [command, code, caption] : Languages()) {
        QAction* item = Item(command);
        languages->addAction(item);
        language->addAction(item);
        item->setChecked(LanguageSetting(CurrentLanguage()) == code);
    }
    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("miHelp1");
    AddItems(help, HelpMenu());
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
    btnOpen->setIcon(ToolIcon(TToolPicture::Open));
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
    AddItems(ToolBarMain, MainToolBar());
    ToolBarSolveIt = addToolBar("Solve it");
    ToolBarSolveIt->setObjectName("ToolBarSolveIt");
    ToolBarSolveIt->setMovable(false);
    ToolBarSolveIt->setIconSize(QSize(22, 22));
    AddItems(ToolBarSolveIt, SolveToolBar());
    ToolBarSolveIt->setVisible(false);
}

void TGoGameMainForm::ApplyCaptions() {
    for (std::size_t i = 0; i < kCommandCount; ++i) {
        const auto command = static_cast<TCommand>(i);
        const char* name = CommandName(command);
        if (!FindText(name)) continue;
        m_Items[i]->setText(T(name));
        // The tool bar shows the picture; its overflow menu shows the text.
        if (ButtonCommand(command)) m_Items[i]->setToolTip(T(name));
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
    btnLeaveSet->setText(Plain(T("miLeaveTimedSet1")));
    TrackBar1->setToolTip(T("TrackBar1"));
    if (auto* label = findChild<QLabel*>("DelayLabel"))
        label->setText(T("TrackBar1") + ": " + QString::number(TrackBar1->value()));
    ShowCaption();
    if (Pages->currentWidget() == tsStatistics) ShowStatisticsView();
    GoGame1->SetLanguage(ChineseBig5 ? 1 : (ChineseGB ? 0 : 2));
    GoGame1->OnToBig5 = [](TGoBoard&, std::string& text) { text = ToLocalText(text); };
}

} // namespace karvena
