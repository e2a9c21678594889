#include "support/qapixmaps.h"

#include "support/qainstall.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmapCache>

QPixmap GETPIX(const char *name, const char *const *xpm)
{
    const QString key = QStringLiteral("vmr:") + QLatin1String(name);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;

    QString base = QLatin1String(name);
    if (base.endsWith(QLatin1String("_xpm")))
        base.chop(4);
    const QString png = QAInstall::pixmapDir(QString()) + QDir::separator() + base
        + QStringLiteral(".png");
    if (QFileInfo(png).isFile())
        pixmap.load(png);
    if (pixmap.isNull() && xpm)
        pixmap = QPixmap(xpm);
    if (pixmap.isNull()) {
        if (const char *const *builtin = qaBuiltinXpm(name))
            pixmap = QPixmap(builtin);
    }
    if (!pixmap.isNull())
        QPixmapCache::insert(key, pixmap);
    return pixmap;
}
