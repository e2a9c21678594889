// The splash window as the user sees it: the installation's picture drawn in full,
// whatever kind of picture file lies under the PNG name, and a plain window without one.

#include "app/qavmrsplashwindow.h"
#include "support/qaedition.h"
#include "testutil.h"

#include <QPainter>

namespace {

// A picture unlike the shipped one, with detail in every corner.
QImage testPicture()
{
    QImage picture(QAVmrSplashWindow::Width, QAVmrSplashWindow::Height, QImage::Format_RGB32);
    picture.fill(QColor(20, 90, 200));
    QPainter painter(&picture);
    painter.fillRect(0, 0, 40, 30, Qt::yellow);
    painter.fillRect(picture.width() - 40, picture.height() - 30, 40, 30, Qt::red);
    painter.drawLine(0, picture.height() - 1, picture.width() - 1, 0);
    return picture;
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

QTEST_MAIN(TstSplashPicture)
#include "tst_splashpicture.moc"
