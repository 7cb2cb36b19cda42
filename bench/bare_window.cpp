// The baseline of the start-up benchmark: a bare Qt window of Voltaro's size, started and shown
// the same way, with nothing else to do.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("BareWindow"));
    window.resize(268, 546);
    window.show();
    return QApplication::exec();
}
