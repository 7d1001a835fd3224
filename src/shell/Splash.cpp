#include "shell/Splash.h"

#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/Texts.h"

namespace karvena {

namespace {
QString Q(const char* english, const char* chinese) {
    return QString::fromStdString(LocalOf(english, chinese));
}
} // namespace

TSplashForm::TSplashForm(const QString& text, bool display, std::function<void(bool)> writeFlag,
                         QWidget* parent)
    : QDialog(parent), m_Display(display), m_WriteFlag(std::move(writeFlag)) {
    setWindowTitle(Q("Hint", "提示"));
    setModal(false);
    // It points at the PgDn key, so it must not take the keys away from the main window.
    setWindowFlags(windowFlags() | Qt::Tool | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(text, this);
    label->setStyleSheet("color: red; font-weight: bold;");
    layout->addWidget(label);
    m_DoNotDisplay = new QCheckBox(Q("Do not display this window", "不再显示此窗口"), this);
    m_DoNotDisplay->setFocusPolicy(Qt::NoFocus);
    m_DoNotDisplay->setChecked(!display);
    layout->addWidget(m_DoNotDisplay);
    auto* close = new QPushButton(Q("&Close", "关闭(&C)"), this);
    close->setFocusPolicy(Qt::NoFocus);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    m_CloseTimer.setSingleShot(true);
    m_CloseTimer.setInterval(10000);
    connect(&m_CloseTimer, &QTimer::timeout, this, &QDialog::accept);
}

void TSplashForm::SetDisplayFlag(bool display) {
    m_Display = display;
    m_DoNotDisplay->setChecked(!display);
}

void TSplashForm::ShowIfWanted() {
    if (!m_Display) return;
    show();
    m_CloseTimer.start();
}

void TSplashForm::done(int result) {
    m_CloseTimer.stop();
    m_Display = !m_DoNotDisplay->isChecked();
    if (m_WriteFlag) m_WriteFlag(m_Display);
    QDialog::done(result);
}

TWaitForm::TWaitForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Please wait...");
    setCursor(Qt::WaitCursor);
    auto* layout = new QVBoxLayout(this);
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0);
    layout->addWidget(busy);
}

} // namespace karvena
