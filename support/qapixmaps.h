#pragma once

#include <QPixmap>

/**
 * The named image: a PNG of that name (without the "_xpm" suffix, for instance
 * "find.png" for "find_xpm") in the installation's image directory when one exists,
 * otherwise the given XPM data, otherwise the built-in picture of that name.
 */
QPixmap GETPIX(const char *name, const char *const *xpm = nullptr);

/** The built-in XPM picture of a name ("new_xpm", "orbkicon32x32_xpm", ...), or null. */
const char *const *qaBuiltinXpm(const char *name);
