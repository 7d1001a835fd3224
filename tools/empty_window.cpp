// The yardstick of the start-up measurement: a plain 1200 x 800 Qt window that quits at its
// first paint. The trainer's start is reported as a multiple of this one's.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {
class TFirstPaintQuits : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::white);
        QTimer::singleShot(0, qApp, &QApplication::quit);
    }
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TFirstPaintQuits window;
    window.resize(1200, 800);
    window.show();
    return app.exec();
}
