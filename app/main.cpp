#include <QApplication>

#include "shell/PlaceholderWindow.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TPlaceholderWindow window;
    window.show();
    return app.exec();
}
