#include "shell/uSetPassword1.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QVBoxLayout>

#include "text/Texts.h"

namespace karvena {

namespace {
// The dialog in the trainer's language; in traditional mode the Chinese is shown converted.
QString L(const char* name) {
    return QString::fromStdString(Tx(name));
}
} // namespace

TSetPasswordDlg::TSetPasswordDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(L("PasswordTitle"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(this);
    auto* frameLayout = new QVBoxLayout(frame);
    Label1 = new QLabel(L("PasswordLabel"), frame);
    Edit1 = new QLineEdit(frame);
    btnForgot = new QPushButton(L("PasswordForgot"), frame);
    btnForgot->setAutoDefault(false);
    Label2 = new QLabel(L("PasswordNote"), frame);
    auto* entry = new QHBoxLayout;
    entry->addWidget(Edit1, 1);
    entry->addWidget(btnForgot);
    frameLayout->addWidget(Label1);
    frameLayout->addLayout(entry);
    frameLayout->addWidget(Label2);
    layout->addWidget(frame);
    auto* buttons = new QHBoxLayout;
    OKBtn = new QPushButton(L("PasswordOK"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(L("PasswordCancel"), this);
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
    Label1->setText(setMode ? L("PasswordSetLabel") : L("PasswordAskLabel"));
    setWindowTitle(setMode ? L("PasswordSetTitle") : L("PasswordAskTitle"));
    Edit1->setFocus();
}

void TSetPasswordDlg::Forgot() {
    if (!Confirm(L("PasswordForgotCaption"), L("PasswordForgotQuestion"))) return;
    m_Forgotten = true;
    accept();
}

} // namespace karvena
