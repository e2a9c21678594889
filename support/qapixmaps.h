#pragma once

#include <QIcon>
#include <QPixmap>

/**
 * The named image: a PNG of exactly that name in the installation's image directory
 * when one exists ("find_xpm.png" for "find_xpm"; the full name keeps the action icons
 * apart from the pictures of the about box and the splash window), otherwise the given
 * XPM data, otherwise the built-in picture of that name.
 */
QPixmap GETPIX(const char *name, const char *const *xpm = nullptr);

/** The built-in XPM picture of a name ("new_xpm", "orbkicon32x32_xpm", ...), or null. */
const char *const *qaBuiltinXpm(const char *name);

/**
 * The icon of a named picture as a desktop shows it: a PNG of that name in the
 * installation's image directory when one exists (the installation's own choice), else
 * the desktop theme's icon of the same meaning (freedesktop names, drawn for any scale
 * and for dark themes), else the built-in picture. Names without a theme counterpart
 * give the picture alone.
 */
QIcon qaIcon(const char *name);

/** The freedesktop icon name of a built-in picture ("new_xpm": "document-new"), or null. */
const char *qaThemeIconName(const char *name);

/**
 * The program's own icon, the picture of its menu entry, at every size that entry is
 * drawn at (16 to 256 pixels).
 */
QIcon qaApplicationIcon();
