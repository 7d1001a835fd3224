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
    // A timed set's clock and the way out of it, above everything while the set runs.
    LabelCountdown = label(14, true);
    LabelCountdown->setObjectName("LabelCountdown");
    LabelCountdown->setVisible(false);
    btnLeaveSet = new QPushButton(left);
    btnLeaveSet->setObjectName("btnLeaveSet");
    btnLeaveSet->setFocusPolicy(Qt::NoFocus);
    btnLeaveSet->setVisible(false);
    leftLayout->addWidget(btnLeaveSet);
    connect(btnLeaveSet, &QPushButton::clicked, this, [this] { LeaveTimedSet(); });
    LabelToPlay = label(12, true);
    LabelToPlay->setObjectName("LabelToPlay");
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

    // The statistics page and the summary of a timed set.
    tsStatistics = new TStatisticsPage(Pages);
    Pages->addWidget(tsStatistics);
    tsTimedSummary = new TTimedSetSummary(Pages);
    Pages->addWidget(tsTimedSummary);
    connect(tsTimedSummary->BackButton, &QPushButton::clicked, this, [this] { ShowIndexView(); });
    TimedSetTimer.setInterval(250);
    connect(&TimedSetTimer, &QTimer::timeout, this, [this] { TimedSetTick(); });

    m_Statistics =
        std::make_unique<TStatistics>(*GoIndex1, m_History, static_cast<IStatisticsOutput&>(*this));
    m_Loop = std::make_unique<TSolveLoop>(*GoGame1, *GoIndex1, *m_Statistics,
                                          static_cast<ISolveOutput&>(*this));
    m_Loop->SetProblems(&m_Collections.Store(TCollectionId::Bundled));
    m_Try = std::make_unique<TTryMode>(*GoGame1, *m_Loop);
    m_Statistics->Orientation = [this] { return m_Loop->Orientation().Number(); };
    m_Statistics->OnAttemptLogged = [this] { ShowRating(); };
    m_Solver = std::make_unique<TSolverThread>();
    m_Loop->SetSolver(m_Solver.get(), &m_History);
}

void TGoGameMainForm::BringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void TGoGameMainForm::CreateStatusBar() {
    StatusPanel0 = new QLabel(this);
    StatusPanel0->setMinimumWidth(100);
    StatusPanel0->setToolTip("Double click here to  change the width");
    StatusPanel1 = new QLabel(this);
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);
    // The open group's solved/total, on the right: the solve loop empties panel 0 at each move.
    StatusPage = new QLabel(this);
    StatusPage->setObjectName("StatusPage");
    statusBar()->addPermanentWidget(StatusPage);
    StatusProgress = new QLabel(this);
    StatusProgress->setObjectName("StatusProgress");
    StatusRating = new QLabel(this);
    StatusRating->setObjectName("StatusRating");
    statusBar()->addPermanentWidget(StatusRating);
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
        ShowIndexPageNumber();
    };
    GoIndex1->OnGamesChanged = fitScrollBar;
    GoIndex1->OnGridChanged = fitScrollBar;
    GoIndex1->OnTopRowChanged = [this](TGoIndexModel&, int row, int, int) {
        ScrollBar1->setValue(row);
        ShowIndexPageNumber();
    };
    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != GoIndex1->TopRow()) GoIndex1->SetTopRow(value);
    });
    // The thumbnails mark a problem failed and not yet solved, and tell its counts on hover.
    GoIndex1->FailedUnsolved = [this](int index) {
        if (ParseIndexLine(GoIndex1->Line(index)).Solved()) return false;
        const std::optional<THistoryRow> row = HistoryOfLine(index);
        return row && row->FailedCount > 0;
    };
    GoIndex1->ToolTipOf = [this](int index) {
        int32_t historyKey = 0;
        const std::optional<THistoryRow> history = HistoryOfLine(index, &historyKey);
        if (!m_OpenedStore) return QString();
        const std::optional<TProblemRow> row = m_OpenedStore->Find(ParseIndexLine(GoIndex1->Line(index)).Key());
        return Q(ProblemTip(index + 1, row ? row->Level1 : -1, history.value_or(THistoryRow{}),
                            historyKey ? m_History.BestTime(historyKey) : std::nullopt));
    };
    // The right button on the board sets the problem up again.
    GoGame1->OnMouseUp = [this](TGoGame& board, QMouseEvent* event) {
        if (event->button() == Qt::RightButton && !board.Process().empty() &&
            Item(TCommand::btnSolveAgain1)->isEnabled())
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
    // The hint windows: shown until the player ticks "Do not display", which is stored.
    auto hintWindow = [this](const char* text, std::string flag) {
        return new TSplashForm(
            T(text), true,
            [this, flag](bool on) {
                if (m_Settings->Usable()) m_Settings->Set(flag, on ? "1" : "0");
            },
            this);
    };
    m_Splash1 = hintWindow("HintWindow1", "DisplaySpashForm1");
    m_Splash2 = hintWindow("HintWindow2", "DisplaySpashForm2");
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
                Message("info", Plain(T("miGuide1")),
                        Q(Tx("GuideNoBrowser")) +
                            "\n" + QDir::toNativeSeparators(path));
            return;
        }
    }
    Message("info", Plain(T("miGuide1")),
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