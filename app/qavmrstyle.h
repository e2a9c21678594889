#pragma once

#include <QProxyStyle>

/**
 * The style the toolkit chose for the program, with one difference in timing only: the
 * arrow of a tool bar's overflow button is read from the style's pictures when it is
 * first drawn, not when the tool bar is built. Reading those pictures makes the image
 * reader load and query every image plugin of the system, which cost start-up more than
 * anything else a tool bar does; the arrow only shows when a tool bar is too narrow.
 */
class QAVmrStyle : public QProxyStyle
{
    Q_OBJECT

public:
    /** Takes ownership of base. */
    explicit QAVmrStyle(QStyle *base);

    QIcon standardIcon(StandardPixmap which, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;

    /**
     * Installs the style the toolkit would use anyway (the platform's, or the one named
     * by -style or QT_STYLE_OVERRIDE) wrapped in a QAVmrStyle. Needs the application.
     */
    static void install();
};
