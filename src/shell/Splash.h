#pragma once
// The small windows of the shell: the two hint windows that point to the PgDn key, and the
// wait window shown while the collection loads.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <functional>

namespace karvena {

// A hint window: a red line, "Do not display this window", Close; closes itself after ten
// seconds. `writeFlag` stores the display flag when it closes.
class TSplashForm : public QDialog {
public:
    TSplashForm(const QString& text, bool display, std::function<void(bool)> writeFlag,
                QWidget* parent = nullptr);
    bool DisplayFlag() const { return m_Display; }
    // The stored flag, read at start-up.
    void SetDisplayFlag(bool display);
    // Shows the window when its flag is on.
    void ShowIfWanted();

protected:
    void done(int result) override;

private:
    bool m_Display;
    std::function<void(bool)> m_WriteFlag;
    QCheckBox* m_DoNotDisplay;
    QTimer m_CloseTimer;
};

// The wait window: a busy indicator while a level group loads.
class TWaitForm : public QDialog {
public:
    explicit TWaitForm(QWidget* parent = nullptr);
};

} // namespace karvena
