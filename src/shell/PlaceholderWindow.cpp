#include "shell/PlaceholderWindow.h"

#include <QLabel>
#include <QVBoxLayout>

TPlaceholderWindow::TPlaceholderWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Karvena");
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(
        "Karvena — life and death problems\n\nThe trainer is being built: the board core is in "
        "place, the board, the problem index and the collection follow.",
        this);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    layout->addWidget(label);
    resize(480, 240);
}
