#include "solving/Study.h"

#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>

#include "text/Texts.h"

namespace karvena {

TStudyForm::TStudyForm(ISettingsStore* common, QWidget* parent)
    : QWidget(parent, Qt::Window), m_Common(common) {
    // Every caption in the trainer's language, fixed when the window is made.
    auto text = [](const char* name) { return QString::fromStdString(Tx(name)); };
    setWindowTitle(text("StudyTitle"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    GoGame1 = new TGoGame(this);
    GoGame1->SetStudy(true);
    GoGame1->SetSingleMode(true);
    GoGame1->SetDisplayInfo(0);
    GoGame1->SetPainting(false);
    sb1 = new QScrollBar(Qt::Horizontal, this);
    sb1->setPageStep(10);
    left->addWidget(GoGame1, 1);
    left->addWidget(sb1);
    layout->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    auto button = [this, right](const QString& caption) {
        auto* b = new TintButton(caption, this);
        b->Captions().Caption2 = caption;
        right->addWidget(b);
        return b;
    };
    btnTakeBack = button(text("StudyTakeBack"));
    btnNext = button(text("StudyNext"));
    btnNext->setEnabled(false);
    btn1 = button(text("StudyBegin"));
    btnStudy = new TintSpeedButton(this);
    btnStudy->setText(text("StudyStudy"));
    btnStudy->setCheckable(true);
    btnStudy->setChecked(true);
    btnStudy->setToolButtonStyle(Qt::ToolButtonTextOnly);
    btnStudy->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    right->addWidget(btnStudy);
    right->addStretch(1);
    btnClose = button(text("StudyFinish"));
    layout->addLayout(right);

    connect(btnTakeBack, &QPushButton::clicked, this, [this] { TakeBackClick(); });
    connect(btnNext, &QPushButton::clicked, this, [this] { NextClick(); });
    connect(btn1, &QPushButton::clicked, this, [this] { Begin1Click(); });
    connect(btnStudy, &QToolButton::clicked, this, [this] { StudyClick(true); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::hide);
    connect(sb1, &QScrollBar::valueChanged, this, [this](int value) {
        if (m_ScrollReady) NavigateTo(value, true);
    });
    // A move on the study board can be taken back; it is counted nowhere.
    GoGame1->OnLegalMove = [this](TGoBoard&, int16_t, int16_t, int16_t, int16_t, bool) {
        UpdateButtons();
    };

    resize(520, 420);
    if (m_Common && m_Common->Usable()) {
        const auto number = [this](const char* name) {
            const auto v = m_Common->Get(name);
            return v ? SettingNumber(*v) : std::nullopt;
        };
        const auto w = number("StudyFormWidth"), h = number("StudyFormHeight");
        if (w && *w > 320) resize(*w, height());
        if (h && *h > 240) resize(width(), *h);
        const auto top = number("StudyFormTop"), leftPos = number("StudyFormLeft");
        if (top || leftPos) {
            move(leftPos.value_or(x()), top.value_or(y()));
            m_Placed = true;
        }
    }
    if (screen() && screen()->depth() < 15) GoGame1->SetPal256(true);
    m_ScrollReady = true;
}

TStudyForm::~TStudyForm() {
    // A window never shown has no place of its own to keep.
    if (m_Common && m_Common->Usable() && m_Shown && windowState() == Qt::WindowNoState) {
        m_Common->Set("StudyFormWidth", std::to_string(width()));
        m_Common->Set("StudyFormHeight", std::to_string(height()));
        m_Common->Set("StudyFormTop", std::to_string(y()));
        m_Common->Set("StudyFormLeft", std::to_string(x()));
    }
}

void TStudyForm::Load(int handicap, int firstToPlay, int nextMove, const std::string& initialProc,
                      const std::string& black, const std::string& white,
                      const std::string& process) {
    m_Handicap = handicap;
    // The last opening's setup goes first: an unchanged InitialProc would otherwise be ignored
    // after its stones were cleared.
    GoGame1->SetInitialProc("");
    GoGame1->SetArrangedSideP("");
    GoGame1->SetArrangedSideN("");
    GoGame1->NewGame(true);
    GoGame1->SetFirstToPlay(static_cast<int8_t>(firstToPlay));
    GoGame1->SetHandicap(static_cast<int8_t>(handicap));
    // The problem's setup stones come along, so the study board shows the problem.
    GoGame1->SetInitialProc(!initialProc.empty() ? initialProc : black + " " + white);
    GoGame1->NewGame(true);
    GoGame1->SetGivenProcess(process);
    m_ScrollReady = false;
    sb1->setMaximum(MovesIn(process));
    m_ScrollReady = true;
    NavigateTo(nextMove - 1);
    UpdateButtons();
    if (!m_Placed && parentWidget()) {
        // The first opening without a stored place: over the middle of the main window.
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.center() - QPoint(width() / 2, height() / 2));
    }
    m_Placed = true;
    m_Shown = true;
    show();
    raise();
    btnStudy->setChecked(true);
    StudyClick(false);
}

void TStudyForm::NavigateTo(int t, bool fromScrollBar) {
    const int next = GoGame1->NextMove();
    if (next == t + 1) {
        // Already there.
    } else if (t == next) {
        const std::string& given = GoGame1->GivenProcess();
        if (t >= 1 && t <= MovesIn(given)) {
            const TPoint pt = PointAt(given, t - 1);
            GoGame1->MakeMove(pt.P, pt.Q, true);
        }
    } else if (next == t + 2) {
        GoGame1->TakeBack();
    } else {
        GoGame1->SetHandicap(static_cast<int8_t>(m_Handicap));
        GoGame1->NewGame(true);
        GoGame1->GoToMove(t, true);
        GoGame1->update();
    }
    UpdateButtons();
    if (!fromScrollBar) SyncScrollBar();
}

void TStudyForm::SyncScrollBar() {
    // Moving the bar to follow the board must not navigate again.
    m_ScrollReady = false;
    sb1->setValue(GoGame1->NextMove() - 1);
    m_ScrollReady = true;
}

void TStudyForm::UpdateButtons() {
    const int limit = btnStudy->isChecked() ? m_StudyFrom : MovesIn(GoGame1->GivenProcess());
    btnNext->setEnabled(limit >= GoGame1->NextMove());
    btnTakeBack->setEnabled(GoGame1->NextMove() > 1);
}

void TStudyForm::TakeBackClick() {
    GoGame1->TakeBack();
    SyncScrollBar();
    UpdateButtons();
}

void TStudyForm::NextClick() {
    btnNext->setEnabled(false);
    const std::string& given = GoGame1->GivenProcess();
    const int next = GoGame1->NextMove();
    if (next >= 1 && next <= MovesIn(given)) {
        const TPoint pt = PointAt(given, next - 1);
        GoGame1->MakeMove(pt.P, pt.Q, true);
    }
    SyncScrollBar();
    UpdateButtons();
}

void TStudyForm::Begin1Click() {
    btnStudy->setChecked(false);
    StudyClick(false);
    m_ScrollReady = false;
    sb1->setValue(0);
    m_ScrollReady = true;
    NavigateTo(0);
}

void TStudyForm::StudyClick(bool byUser) {
    btnStudy->setEnabled(false);
    const bool down = btnStudy->isChecked();
    GoGame1->SetStudy(down);
    if (down) {
        m_StudyFrom = GoGame1->NextMove() - 1;
        GoGame1->SetNewMoveEnabled(true);
        sb1->setVisible(false);
        btnStudy->setText(QString::fromStdString(Tx("StudyRestore")));
    } else {
        GoGame1->SetNewMoveEnabled(false);
        if (byUser) GoGame1->GoToMove(m_StudyFrom, true);
        sb1->setVisible(true);
        btnStudy->setText(QString::fromStdString(Tx("StudyStudy")));
    }
    btnStudy->setEnabled(true);
    UpdateButtons();
}

} // namespace karvena
