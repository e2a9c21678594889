#include "support/qapixmaps.h"

#include "support/qainstall.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmapCache>

QPixmap GETPIX(const char *name, const char *const *xpm)
{
    const QString png = QAInstall::pixmapDir(QString()) + QDir::separator()
        + QLatin1String(name) + QStringLiteral(".png");
    // The key holds the file's path so that another installation gets its own pictures.
    const QString key = QStringLiteral("vmr:") + png;
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;

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
