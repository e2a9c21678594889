#include "app/qavmrstyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

// An icon of the base style, asked for on first use and then answered by it unchanged.
class DeferredStyleIcon : public QIconEngine
{
public:
    DeferredStyleIcon(const QStyle *style, QStyle::StandardPixmap which,
                      const QStyleOption *option, const QWidget *widget)
        : m_style(style)
        , m_which(which)
        , m_widget(const_cast<QWidget *>(widget))
    {
        if (option) {
            m_option = *option;
            // The object the option came from may be gone by the time it is drawn.
            m_option.styleObject = nullptr;
            m_hasOption = true;
        }
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
               QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("QAVmrStyle deferred"); }
    QIconEngine *clone() const override { return new DeferredStyleIcon(*this); }

private:
    DeferredStyleIcon(const DeferredStyleIcon &other) = default;

    QIcon &icon()
    {
        if (!m_asked) {
            m_asked = true;
            m_icon = m_style->standardIcon(m_which, m_hasOption ? &m_option : nullptr,
                                           m_widget.data());
        }
        return m_icon;
    }

    const QStyle *m_style;
    QStyle::StandardPixmap m_which;
    QStyleOption m_option;
    bool m_hasOption = false;
    QPointer<QWidget> m_widget;
    bool m_asked = false;
    QIcon m_icon;
};

} // namespace

QAVmrStyle::QAVmrStyle(QStyle *base)
    : QProxyStyle(base)
{
}

QIcon QAVmrStyle::standardIcon(StandardPixmap which, const QStyleOption *option,
                               const QWidget *widget) const
{
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
        return QIcon(new DeferredStyleIcon(baseStyle(), which, option, widget));
    return QProxyStyle::standardIcon(which, option, widget);
}

void QAVmrStyle::install()
{
    if (QStyle *chosen = QStyleFactory::create(QApplication::style()->name()))
        QApplication::setStyle(new QAVmrStyle(chosen));
}
