// The reference for start-up: the least a Qt Widgets program does to show a main window.
// It closes the window right after its first frame is drawn, as the editor does under
// VMREDITOR_AUTOQUIT_MS=0: closing any earlier would measure a window that was never
// painted.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

namespace {

class CloseAfterFirstFrame : public QObject
{
public:
    explicit CloseAfterFirstFrame(QWidget *window)
        : QObject(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *window = static_cast<QWidget *>(watched);
            window->removeEventFilter(this);
            QTimer::singleShot(0, window, &QWidget::close);
        }
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("minimal"), &window));
    window.resize(640, 480);
    new CloseAfterFirstFrame(&window);
    window.show();
    return app.exec();
}
