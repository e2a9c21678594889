#include "app/qavmrsplashwindow.h"

#include "support/qaedition.h"
#include "support/qainstall.h"

#include <QDir>
#include <QGuiApplication>
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
    const QPixmap picture(m_imagePath);
    // Without its picture the window stays plain; starting up matters more than the look.
    if (!picture.isNull()) {
        QPalette pal = palette();
        pal.setBrush(QPalette::Window, picture);
        setPalette(pal);
        setAutoFillBackground(true);
    }
}

QAVmrSplashWindow::~QAVmrSplashWindow() = default;

QPoint QAVmrSplashWindow::centredOn(const QRect &desktop)
{
    return desktop.topLeft()
        + QPoint((desktop.width() - Width) / 2, (desktop.height() - Height) / 2);
}
