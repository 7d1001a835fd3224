#pragma once
// TSetPasswordDlg: sets the hint password (set mode) or asks for it (enter mode). Its texts
// exist in Chinese only.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace karvena {

class TSetPasswordDlg : public QDialog {
public:
    explicit TSetPasswordDlg(QWidget* parent = nullptr);
    // Set mode asks for a new password; enter mode for the stored one, with "forgot".
    void Prepare(bool setMode);
    bool Forgotten() const { return m_Forgotten; }
    QString Text() const { return Edit1->text(); }
    // The forgot button's question; answers No unless replaced (tests answer it).
    std::function<bool(const QString& caption, const QString& text)> Confirm;

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* btnForgot;
    QLabel* Label2;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    // Presses the forgot button.
    void Forgot();

private:
    bool m_Forgotten = false;
};

} // namespace karvena
