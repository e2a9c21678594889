// The splash window as the user sees it: the installation's picture drawn in full,
// whatever kind of picture file lies under the PNG name, and a plain window without one;
// the decoded copy kept in the user's cache never shows anything but the current picture.

#include "app/qavmrsplashwindow.h"
#include "support/qaedition.h"
#include "testutil.h"

#include <QCryptographicHash>
#include <QPainter>
#include <QStandardPaths>

namespace {

// A picture unlike the shipped one, with detail in every corner.
QImage testPicture(const QColor &ground = QColor(20, 90, 200))
{
    QImage picture(QAVmrSplashWindow::Width, QAVmrSplashWindow::Height, QImage::Format_RGB32);
    picture.fill(ground);
    QPainter painter(&picture);
    painter.fillRect(0, 0, 40, 30, Qt::yellow);
    painter.fillRect(picture.width() - 40, picture.height() - 30, 40, 30, Qt::red);
    painter.drawLine(0, picture.height() - 1, picture.width() - 1, 0);
    return picture;
}

// The splash window's picture as drawn.
QImage shown()
{
    QAVmrSplashWindow splash{QString()};
    splash.show();
    if (!QTest::qWaitForWindowExposed(&splash))
        return QImage();
    return splash.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QStringList keptCopies()
{
    const QDir cache(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
    QStringList copies;
    for (const QString &name : cache.entryList(QDir::Files))
        copies << cache.filePath(name);
    return copies;
}

} // namespace

class TstSplashPicture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }
    void cleanup();
    void drawsThePicture_data();
    void drawsThePicture();
    void plainWithoutPicture();
    void keptCopyShowsThePicture();
    void replacedPictureIsShown();
    void damagedCopyIsIgnored_data();
    void damagedCopyIsIgnored();

private:
    // An installation of its own holding only lib/images.
    QString useInstallation();

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_install;
    QByteArray m_savedOrbiskDir;
};

QString TstSplashPicture::useInstallation()
{
    m_install = std::make_unique<QTemporaryDir>();
    const QString images = m_install->filePath(QStringLiteral("lib/images"));
    QDir().mkpath(images);
    m_savedOrbiskDir = qgetenv("ORBISKDIR");
    qputenv("ORBISKDIR", m_install->path().toLocal8Bit());
    QAEdition::reload();
    return images;
}

void TstSplashPicture::cleanup()
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).removeRecursively();
    if (m_install) {
        qputenv("ORBISKDIR", m_savedOrbiskDir);
        QAEdition::reload();
        m_install.reset();
    }
}

void TstSplashPicture::drawsThePicture_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("the shipped picture") << QByteArray();
    QTest::newRow("a PNG") << QByteArray("PNG");
    QTest::newRow("a BMP under the PNG name") << QByteArray("BMP");
}

void TstSplashPicture::drawsThePicture()
{
    QFETCH(QByteArray, format);
    QImage expected;
    if (format.isEmpty()) {
        expected = QImage(VmrTest::orbiskDir() + QStringLiteral("/lib/images/splash.png"));
    } else {
        const QString images = useInstallation();
        expected = testPicture();
        QVERIFY(expected.save(images + QStringLiteral("/splash.png"), format.constData()));
    }
    QVERIFY(!expected.isNull());

    QAVmrSplashWindow splash{QString()};
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    const QImage drawn = splash.grab().toImage();
    QCOMPARE(drawn.size(), QSize(QAVmrSplashWindow::Width, QAVmrSplashWindow::Height));
    QCOMPARE(drawn.convertToFormat(QImage::Format_RGB32),
             expected.convertToFormat(QImage::Format_RGB32));
}

void TstSplashPicture::plainWithoutPicture()
{
    useInstallation();
    QAVmrSplashWindow splash{QString()};
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    const QImage drawn = splash.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb window = splash.palette().color(QPalette::Window).rgb();
    for (const QPoint &p : {QPoint(0, 0), QPoint(325, 219), QPoint(649, 437)})
        QCOMPARE(drawn.pixel(p), window);
}

void TstSplashPicture::keptCopyShowsThePicture()
{
    const QString images = useInstallation();
    const QImage picture = testPicture();
    QVERIFY(picture.save(images + QStringLiteral("/splash.png"), "PNG"));
    QCOMPARE(shown(), picture);
    // The first start keeps one copy of the decoded picture, which later starts show.
    QCOMPARE(keptCopies().size(), 1);
    QCOMPARE(shown(), picture);
    QCOMPARE(shown(), picture);
    QCOMPARE(keptCopies().size(), 1);
}

void TstSplashPicture::replacedPictureIsShown()
{
    const QString images = useInstallation();
    QVERIFY(testPicture().save(images + QStringLiteral("/splash.png"), "PNG"));
    QCOMPARE(shown(), testPicture());
    // Same size, same name, other pixels.
    const QImage other = testPicture(QColor(200, 40, 40));
    QVERIFY(other.save(images + QStringLiteral("/splash.png"), "PNG"));
    QCOMPARE(shown(), other);
    QCOMPARE(keptCopies().size(), 1);
}

void TstSplashPicture::damagedCopyIsIgnored_data()
{
    QTest::addColumn<int>("keep"); // bytes of the copy left in place, -1: all of them
    QTest::addColumn<QByteArray>("overwrite"); // written over its start
    QTest::newRow("cut short") << 100000 << QByteArray();
    QTest::newRow("header only") << 40 << QByteArray();
    QTest::newRow("empty") << 0 << QByteArray();
    QTest::newRow("garbled header") << -1 << QByteArray(40, 'x');
    // Right picture, absurd size: "@" stands for the picture file's digest.
    QTest::newRow("huge size claimed") << -1 << QByteArray("VMRPIX01@").append(12, '\xff');
}

void TstSplashPicture::damagedCopyIsIgnored()
{
    QFETCH(int, keep);
    QFETCH(QByteArray, overwrite);
    const QString images = useInstallation();
    const QImage picture = testPicture();
    QVERIFY(picture.save(images + QStringLiteral("/splash.png"), "PNG"));
    QCOMPARE(shown(), picture);
    QCOMPARE(keptCopies().size(), 1);
    if (overwrite.contains('@')) {
        QFile png(images + QStringLiteral("/splash.png"));
        QVERIFY(png.open(QIODevice::ReadOnly));
        overwrite.replace("@", QCryptographicHash::hash(png.readAll(), QCryptographicHash::Sha1));
    }
    QFile copy(keptCopies().first());
    const qint64 whole = copy.size();
    QVERIFY(copy.open(QIODevice::ReadWrite));
    if (keep >= 0)
        QVERIFY(copy.resize(keep));
    if (!overwrite.isEmpty())
        QCOMPARE(copy.write(overwrite), qint64(overwrite.size()));
    copy.close();

    QCOMPARE(shown(), picture);
    // The damaged copy was made again.
    QCOMPARE(keptCopies().size(), 1);
    QCOMPARE(QFileInfo(keptCopies().first()).size(), whole);
}

QTEST_MAIN(TstSplashPicture)
#include "tst_splashpicture.moc"
