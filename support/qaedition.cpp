#include "support/qaedition.h"

#include "support/qainstall.h"
#include "support/qapixmaps.h"

#include <QDir>
#include <QFile>

namespace {
int s_edition = -1;
}

QAEdition::Kind QAEdition::current()
{
    if (s_edition < 0)
        reload();
    return static_cast<Kind>(s_edition);
}

void QAEdition::reload()
{
    QFile file(QAInstall::installDir(QString()) + QDir::separator() + QStringLiteral("lib")
               + QDir::separator() + QStringLiteral("edition"));
    s_edition = Orbisk;
    if (file.open(QIODevice::ReadOnly)) {
        // Only the first word counts: "Zephrin edition" or "Zephrin 2009" are Zephrin.
        const QList<QByteArray> words = file.readLine(256).simplified().split(' ');
        if (words.first().compare("Zephrin", Qt::CaseInsensitive) == 0)
            s_edition = Zephrin;
    }
}

QString QAEdition::applicationTitle()
{
    return isZephrin() ? QStringLiteral("Tarvex Quintar Zephrin Velmor Editor")
                       : QStringLiteral("Tarvex Quintar Orbisk Velmor Editor");
}

QString QAEdition::productName()
{
    return isZephrin() ? QStringLiteral("Tarvex Quintar Zephrin")
                       : QStringLiteral("Tarvex Quintar Orbisk");
}

const char *QAEdition::iconName()
{
    return isZephrin() ? "zphricon32x32_xpm" : "orbkicon32x32_xpm";
}

QIcon QAEdition::windowIcon()
{
    // Orbisk's window carries the picture of the menu entry that started it, at every
    // size; a picture the installation gives for the edition's icon still wins, and
    // Zephrin keeps its own brand.
    const QString installed = QAInstall::pixmapDir(QString()) + QDir::separator()
        + QLatin1String(iconName()) + QStringLiteral(".png");
    if (isZephrin() || QFile::exists(installed))
        return QIcon(GETPIX(iconName()));
    return qaApplicationIcon();
}

QString QAEdition::guideName()
{
    return isZephrin() ? QStringLiteral("zphr-ug") : QStringLiteral("orbk-ug");
}

QString QAEdition::splashImage()
{
    return isZephrin() ? QStringLiteral("splash_zphr.png") : QStringLiteral("splash.png");
}
