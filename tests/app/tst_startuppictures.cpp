// Pictures read at start look as they always did: the splash picture of any kind, or none,
// and never a stale or damaged copy of it from the user's cache; the overflow arrow of a tool
// bar, read late by the program's style, which keeps the style chosen.

#include "app/qavmrsplashwindow.h"
#include "app/qavmrstyle.h"
#include "support/qaedition.h"
#include "testutil.h"

#include <QMainWindow>
#include <QPainter>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>

namespace {

QImage testPicture(const QColor &ground = QColor(20, 90, 200))
{
    QImage picture(QAVmrSplashWindow::Width, QAVmrSplashWindow::Height, QImage::Format_RGB32);
    picture.fill(ground);
    QPainter(&picture).drawLine(0, picture.height() - 1, picture.width() - 1, 0);
    return picture;
}

QImage drawn(QWidget *widget)
{
    widget->window()->show();
    if (!QTest::qWaitForWindowExposed(widget->window()) || !widget->isVisible())
        return QImage();
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage splash() { return drawn(std::make_unique<QAVmrSplashWindow>(QString()).get()); }

QImage overflowButton(Qt::ToolBarArea area)
{
    QMainWindow window;
    auto *bar = new QToolBar(&window);
    window.addToolBar(area, bar);
    for (int i = 0; i < 12; ++i)
        bar->addAction(QStringLiteral("Tool %1").arg(i));
    window.resize(120, 120);
    return drawn(bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")));
}

} // namespace

class TstStartupPictures : public QObject
{
    Q_OBJECT

    const QString m_shipped = VmrTest::orbiskDir() + QStringLiteral("/lib/images/splash.png");
    std::unique_ptr<QTemporaryDir> m_home; // with an empty cache, and lib/images alone
    QString m_cache;
    QString m_picture;

private slots:
    void init()
    {
        m_home = VmrTest::privateHome();
        m_cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        QVERIFY(QDir().mkpath(m_home->filePath(QStringLiteral("lib/images"))));
        m_picture = m_home->filePath(QStringLiteral("lib/images/splash.png"));
        qputenv("ORBISKDIR", m_home->path().toLocal8Bit());
        QAEdition::reload();
    }

    void splashShowsTheCurrentPicture_data()
    {
        QTest::addColumn<QByteArray>("format"); // of the file under the PNG name
        QTest::addColumn<int>("keep"); // bytes of the kept copy left, -1: all of them
        QTest::addColumn<bool>("hugeSize"); // claimed by the copy of the right picture
        QTest::newRow("the shipped picture") << QByteArray("shipped") << -1 << false;
        QTest::newRow("a BMP") << QByteArray("BMP") << -1 << false;
        QTest::newRow("none") << QByteArray() << -1 << false;
        QTest::newRow("copy cut short") << QByteArray("PNG") << 100000 << false;
        QTest::newRow("copy claiming a huge size") << QByteArray("PNG") << -1 << true;
    }

    void splashShowsTheCurrentPicture()
    {
        QFETCH(QByteArray, format);
        QFETCH(int, keep);
        QFETCH(bool, hugeSize);
        QImage picture = testPicture();
        if (format.isEmpty()) // no picture: a plain window
            picture.fill(QAVmrSplashWindow(QString()).palette().color(QPalette::Window));
        else if (format == "shipped" && QFile::copy(m_shipped, m_picture))
            picture = QImage(m_picture).convertToFormat(QImage::Format_RGB32);
        else
            QVERIFY(picture.save(m_picture, format.constData()));
        QCOMPARE(splash(), picture);
        const QFileInfoList copies = QDir(m_cache).entryInfoList(QDir::Files);
        QCOMPARE(copies.size(), format.isEmpty() ? 0 : 1);
        if (format.isEmpty())
            return;
        QFile copy(copies.first().filePath());
        const qint64 whole = copy.size();
        QVERIFY(copy.open(QIODevice::ReadWrite) && (keep < 0 || copy.resize(keep)));
        if (hugeSize) // width and height, past its tag and the picture file's digest
            QVERIFY(copy.seek(28) && copy.write(QByteArray(8, '\xff')) == 8);
        copy.close();
        // Shown from the kept copy, or from the picture, which is kept again in full.
        QCOMPARE(splash(), picture);
        QCOMPARE(QDir(m_cache).entryInfoList(QDir::Files).first().size(), whole);
        // A picture replaced by one of the same size is shown, not its old copy.
        QVERIFY((picture = testPicture(Qt::darkRed)).save(m_picture, "PNG"));
        QCOMPARE(splash(), picture);
        QCOMPARE(QDir(m_cache).entryInfoList(QDir::Files).size(), 1);
    }

    void styleDrawsTheSameOverflowArrow()
    {
        // Not the default style, as with -style windows on the command line.
        QApplication::setStyle(QStringLiteral("windows"));
        const QImage horizontal = overflowButton(Qt::TopToolBarArea);
        const QImage vertical = overflowButton(Qt::LeftToolBarArea);
        QVERIFY(!horizontal.isNull() && !vertical.isNull());
        QAVmrStyle::install();
        auto *style = qobject_cast<QAVmrStyle *>(QApplication::style());
        QVERIFY(style);
        QCOMPARE(style->baseStyle()->name(), QStringLiteral("windows"));
        QCOMPARE(overflowButton(Qt::TopToolBarArea), horizontal);
        QCOMPARE(overflowButton(Qt::LeftToolBarArea), vertical);
        QStyleOption rightToLeft; // the other way round than the tool bars above
        rightToLeft.direction = Qt::RightToLeft;
        const auto arrow = QStyle::SP_ToolBarHorizontalExtensionButton;
        QCOMPARE(style->standardIcon(arrow, &rightToLeft).pixmap(16).toImage(),
                 style->baseStyle()->standardIcon(arrow, &rightToLeft).pixmap(16).toImage());
    }
};

QTEST_MAIN(TstStartupPictures)
#include "tst_startuppictures.moc"
