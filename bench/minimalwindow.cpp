// The reference for start-up: the least a Qt Widgets program does to show a main window.
// Given a file, it first parses it into a QDomDocument: the least a program does to
// open a document and show a window. It closes the window right after its first frame is drawn, as the editor does under
// VMREDITOR_AUTOQUIT_MS=0: closing any earlier would measure a window that was never
// painted.
#include <QApplication>
#include <QDomDocument>
#include <QEvent>
#include <QFile>
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
    QDomDocument document;
    if (argc > 1) {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
            return 1;
    }
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("minimal"), &window));
    window.resize(640, 480);
    new CloseAfterFirstFrame(&window);
    window.show();
    return app.exec();
}
