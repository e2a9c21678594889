// The program's style looks exactly like the style the toolkit chose: the overflow arrow
// of a tool bar that is too narrow, read late, is the same picture, in both directions
// and orientations, and a style chosen by the user is the one kept.

#include "app/qavmrstyle.h"
#include "testutil.h"

#include <QAction>
#include <QMainWindow>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>

namespace {

QImage iconImage(const QStyle *style, QStyle::StandardPixmap which, Qt::LayoutDirection dir)
{
    QStyleOption option;
    option.direction = dir;
    return style->standardIcon(which, &option).pixmap(QSize(16, 16)).toImage();
}

// The overflow button of a tool bar far too narrow for its tools, as drawn.
QImage overflowButton(Qt::Orientation orientation)
{
    QMainWindow window;
    auto *bar = new QToolBar(&window);
    window.addToolBar(orientation == Qt::Horizontal ? Qt::TopToolBarArea : Qt::LeftToolBarArea,
                      bar);
    for (int i = 0; i < 12; ++i)
        bar->addAction(QStringLiteral("Tool %1").arg(i));
    window.resize(120, 120);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return QImage();
    auto *button = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
    if (!button || !button->isVisible())
        return QImage();
    return button->grab().toImage();
}

} // namespace

class TstAppStyle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }
    void sameIcons();
    void sameOverflowButton();
    void keepsTheChosenStyle();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TstAppStyle::sameIcons()
{
    std::unique_ptr<QStyle> plain(QStyleFactory::create(QStringLiteral("fusion")));
    QAVmrStyle style(QStyleFactory::create(QStringLiteral("fusion")));
    for (const auto which : {QStyle::SP_ToolBarHorizontalExtensionButton,
                             QStyle::SP_ToolBarVerticalExtensionButton,
                             QStyle::SP_DialogOkButton}) {
        for (const auto dir : {Qt::LeftToRight, Qt::RightToLeft}) {
            const QImage expected = iconImage(plain.get(), which, dir);
            QVERIFY(!expected.isNull());
            QCOMPARE(iconImage(&style, which, dir), expected);
        }
    }
    QStyleOption option;
    const QIcon late = style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, &option);
    QVERIFY(!late.isNull());
    QCOMPARE(late.availableSizes(),
             plain->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, &option)
                 .availableSizes());
}

void TstAppStyle::sameOverflowButton()
{
    QApplication::setStyle(QStringLiteral("fusion"));
    const QImage horizontal = overflowButton(Qt::Horizontal);
    const QImage vertical = overflowButton(Qt::Vertical);
    QVERIFY(!horizontal.isNull() && !vertical.isNull());

    QAVmrStyle::install();
    QVERIFY(qobject_cast<QAVmrStyle *>(QApplication::style()));
    QCOMPARE(overflowButton(Qt::Horizontal), horizontal);
    QCOMPARE(overflowButton(Qt::Vertical), vertical);
}

void TstAppStyle::keepsTheChosenStyle()
{
    // As with -style windows on the command line.
    QApplication::setStyle(QStringLiteral("windows"));
    QAVmrStyle::install();
    auto *style = qobject_cast<QAVmrStyle *>(QApplication::style());
    QVERIFY(style);
    QCOMPARE(style->baseStyle()->name(), QStringLiteral("windows"));
}

QTEST_MAIN(TstAppStyle)
#include "tst_appstyle.moc"
