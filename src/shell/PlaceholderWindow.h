#pragma once
#include <QWidget>

// Shown by the trainer until the main window is built: says what is coming.
class TPlaceholderWindow : public QWidget {
public:
    explicit TPlaceholderWindow(QWidget* parent = nullptr);
};
