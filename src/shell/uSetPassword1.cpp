#include "shell/uSetPassword1.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QVBoxLayout>

#include "text/Texts.h"

namespace karvena {

namespace {
// The dialog's texts exist in Chinese only; in traditional mode they are shown converted.
QString Z(const char* chinese) {
    return QString::fromStdString(ToLocalText(chinese));
}
} // namespace

TSetPasswordDlg::TSetPasswordDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(Z("设置/输入口令"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(this);
    auto* frameLayout = new QVBoxLayout(frame);
    Label1 = new QLabel(Z("口令"), frame);
    Edit1 = new QLineEdit(frame);
    btnForgot = new QPushButton(Z("忘了"), frame);
    btnForgot->setAutoDefault(false);
    Label2 = new QLabel(Z("防止孩子偷懒的一个简易办法"), frame);
    auto* entry = new QHBoxLayout;
    entry->addWidget(Edit1, 1);
    entry->addWidget(btnForgot);
    frameLayout->addWidget(Label1);
    frameLayout->addLayout(entry);
    frameLayout->addWidget(Label2);
    layout->addWidget(frame);
    auto* buttons = new QHBoxLayout;
    OKBtn = new QPushButton(Z("确认"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(Z("取消"), this);
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnForgot, &QPushButton::clicked, this, [this] { Forgot(); });
    Confirm = [this](const QString& caption, const QString& text) {
        return QMessageBox::question(this, caption, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
}

void TSetPasswordDlg::Prepare(bool setMode) {
    m_Forgotten = false;
    // Empty at every opening: a password left in the entry would unlock hints for anyone.
    Edit1->clear();
    btnForgot->setVisible(!setMode);
    Label1->setText(setMode ? Z("设置看答案口令: ") : Z("口令正确才允许看答案: "));
    setWindowTitle(setMode ? Z("设置口令") : Z("口令"));
    Edit1->setFocus();
}

void TSetPasswordDlg::Forgot() {
    if (!Confirm(Z("将清除口令"), Z("真的是忘记了口令吗？"))) return;
    m_Forgotten = true;
    accept();
}

} // namespace karvena
