#include "support/qapixmaps.h"

#include "support/qainstall.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmapCache>

#include <cstring>

namespace {

QString installedPicture(const char *name)
{
    return QAInstall::pixmapDir(QString()) + QDir::separator() + QLatin1String(name)
        + QStringLiteral(".png");
}

// The pictures of the commands and what a desktop theme calls the same thing.
const struct
{
    const char *picture;
    const char *theme;
} s_themeNames[] = {
    {"new_xpm", "document-new"},
    {"open_xpm", "document-open"},
    {"save_xpm", "document-save"},
    {"saveas_xpm", "document-save-as"},
    {"exit_xpm", "application-exit"},
    {"undo_xpm", "edit-undo"},
    {"redo_xpm", "edit-redo"},
    {"cut_xpm", "edit-cut"},
    {"copy_xpm", "edit-copy"},
    {"paste_xpm", "edit-paste"},
    {"delete_xpm", "edit-delete"},
    {"find_xpm", "edit-find"},
    {"selectall_xpm", "edit-select-all"},
    {"preferences_xpm", "preferences-system"},
    {"contents_xpm", "help-contents"},
    {"about_xpm", "help-about"},
    {"htmllink_xpm", "internet-web-browser"},
};

} // namespace

QPixmap GETPIX(const char *name, const char *const *xpm)
{
    const QString png = installedPicture(name);
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

const char *qaThemeIconName(const char *name)
{
    if (!name)
        return nullptr;
    for (const auto &entry : s_themeNames) {
        if (std::strcmp(entry.picture, name) == 0)
            return entry.theme;
    }
    return nullptr;
}

QIcon qaIcon(const char *name)
{
    const char *theme = qaThemeIconName(name);
    if (!theme || QFileInfo(installedPicture(name)).isFile())
        return QIcon(GETPIX(name));
    const QPixmap builtin = GETPIX(name);
    return QIcon::fromTheme(QLatin1String(theme), builtin.isNull() ? QIcon() : QIcon(builtin));
}

QIcon qaApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/vmreditor/icons/%1/vmreditor.png").arg(size),
                     QSize(size, size));
    return icon;
}
