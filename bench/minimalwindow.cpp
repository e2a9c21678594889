// The reference for start-up: the least a Qt Widgets program does to show a main window.
// It shows the window and closes it as soon as the event loop runs, as the editor does
// under VMREDITOR_AUTOQUIT_MS=0.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("minimal"), &window));
    window.resize(640, 480);
    window.show();
    QTimer::singleShot(0, &window, &QWidget::close);
    return app.exec();
}
