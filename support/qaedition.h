#pragma once

#include <QIcon>
#include <QString>

/**
 * The product edition, Orbisk or Zephrin. It only changes branding: titles, the window
 * icon, the splash picture and the user guide. The installation decides it: a file
 * lib/edition under the installation directory whose first word is "Zephrin" makes a
 * Zephrin installation; anything else, or no file, is Orbisk.
 */
class QAEdition
{
public:
    enum Kind { Orbisk, Zephrin };

    static Kind current();
    static bool isZephrin() { return current() == Zephrin; }
    /** Reads the installation again; start-up reads it once, tests switch editions. */
    static void reload();

    static QString applicationTitle();
    static QString productName();
    static const char *iconName();
    static QIcon windowIcon();
    static QString guideName();
    static QString splashImage();
};
