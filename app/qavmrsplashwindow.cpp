#include "app/qavmrsplashwindow.h"

#include "support/qaedition.h"
#include "support/qainstall.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QScreen>

QAVmrSplashWindow::QAVmrSplashWindow(const QString &programPath, QWidget *parent,
                                     const char *name)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    if (name)
        setObjectName(QLatin1String(name));
    setFixedSize(Width, Height);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(centredOn(screen->geometry()));

    m_imagePath = QAInstall::pixmapDir(programPath) + QDir::separator()
        + QAEdition::splashImage();
    // Read as the PNG it should be: left to guess, the reader would first load and ask
    // every image plugin of the system, which costs more than decoding the picture.
    // A picture of another kind under that name is still shown, the slow way.
    QImageReader reader(m_imagePath, "png");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull() && QFileInfo::exists(m_imagePath))
        image = QImage(m_imagePath);
    const QPixmap picture = QPixmap::fromImage(std::move(image));
    // Without its picture the window stays plain; starting up matters more than the look.
    if (!picture.isNull()) {
        QPalette pal = palette();
        pal.setBrush(QPalette::Window, picture);
        setPalette(pal);
        // Drawn in one copy by paintEvent: filled as a background, the picture would be
        // tiled by helper threads started for that one frame.
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
}

void QAVmrSplashWindow::paintEvent(QPaintEvent *event)
{
    if (testAttribute(Qt::WA_OpaquePaintEvent)) {
        QPainter painter(this);
        painter.drawPixmap(0, 0, palette().brush(QPalette::Window).texture());
    }
    QFrame::paintEvent(event);
}

QAVmrSplashWindow::~QAVmrSplashWindow() = default;

QPoint QAVmrSplashWindow::centredOn(const QRect &desktop)
{
    return desktop.topLeft()
        + QPoint((desktop.width() - Width) / 2, (desktop.height() - Height) / 2);
}
