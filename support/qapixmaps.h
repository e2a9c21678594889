#pragma once

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
