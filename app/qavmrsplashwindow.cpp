#include "app/qavmrsplashwindow.h"

#include "support/qaedition.h"
#include "support/qainstall.h"

#include <QApplication>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstring>

namespace {

// The decoded picture is kept in the user's cache directory as plain pixels, headed by a
// digest of the picture file it was decoded from: reading it back costs a fraction of
// decoding the PNG at every start, and a replaced picture no longer matches its copy.
struct CopyHeader
{
    char magic[8];
    char digest[20];
    quint32 width;
    quint32 height;
    quint32 format;
};
static_assert(sizeof(CopyHeader) == 40, "the header is written as it lies in memory");

constexpr char kCopyMagic[8] = {'V', 'M', 'R', 'P', 'I', 'X', '0', '1'};
constexpr quint32 kLargestSide = 8192;

bool copyable(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
        || format == QImage::Format_ARGB32_Premultiplied;
}

QString copyPathFor(const QString &picture)
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (dir.isEmpty())
        return QString();
    // One copy per picture file, which a changed picture overwrites.
    const QByteArray key = QCryptographicHash::hash(
                               QFileInfo(picture).absoluteFilePath().toUtf8(),
                               QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    return dir + QStringLiteral("/splash-") + QString::fromLatin1(key)
        + QStringLiteral(".pixels");
}

QImage readCopy(const QString &path, const QByteArray &digest)
{
    QFile file(path);
    CopyHeader header;
    if (!file.open(QIODevice::ReadOnly)
        || file.read(reinterpret_cast<char *>(&header), sizeof header) != qint64(sizeof header))
        return QImage();
    const auto format = QImage::Format(header.format);
    if (std::memcmp(header.magic, kCopyMagic, sizeof kCopyMagic) != 0
        || QByteArray(header.digest, sizeof header.digest) != digest || !copyable(format)
        || header.width == 0 || header.height == 0 || header.width > kLargestSide
        || header.height > kLargestSide)
        return QImage();
    QImage image(int(header.width), int(header.height), format);
    if (image.isNull() || file.size() != qint64(sizeof header) + image.sizeInBytes())
        return QImage();
    if (file.read(reinterpret_cast<char *>(image.bits()), image.sizeInBytes())
        != image.sizeInBytes())
        return QImage();
    return image;
}

void writeCopy(const QString &path, const QByteArray &digest, const QImage &image)
{
    if (!copyable(image.format()) || quint32(image.width()) > kLargestSide
        || quint32(image.height()) > kLargestSide)
        return;
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir))
        return;
    CopyHeader header;
    std::memcpy(header.magic, kCopyMagic, sizeof kCopyMagic);
    std::memcpy(header.digest, digest.constData(), sizeof header.digest);
    header.width = quint32(image.width());
    header.height = quint32(image.height());
    header.format = quint32(image.format());
    // Written beside and renamed over it, so that another start reads a whole copy or
    // none; a copy that cannot be written only means decoding again next time.
    QTemporaryFile part(dir + QStringLiteral("/splash-XXXXXX.part"));
    if (!part.open()
        || part.write(reinterpret_cast<const char *>(&header), sizeof header)
            != qint64(sizeof header)
        || part.write(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes())
            != image.sizeInBytes()
        || !part.flush())
        return;
    QFile::remove(path);
    // Kept once renamed: a temporary file removes whatever name it has when it goes.
    part.setAutoRemove(false);
    if (!part.rename(path))
        part.remove();
}

QImage readPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray data = file.readAll();
    const QByteArray digest = QCryptographicHash::hash(data, QCryptographicHash::Sha1);
    const QString copy = copyPathFor(path);
    if (!copy.isEmpty()) {
        QImage image = readCopy(copy, digest);
        if (!image.isNull())
            return image;
    }
    // Read as the PNG it should be: left to guess, the reader would first load and ask
    // every image plugin of the system. A picture of another kind under that name is
    // still shown, the slow way.
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull())
        image = QImage::fromData(data);
    if (!image.isNull() && !copy.isEmpty())
        writeCopy(copy, digest, image);
    return image;
}

} // namespace

QAVmrSplashWindow::QAVmrSplashWindow(const QString &programPath, QWidget *parent,
                                     const char *name)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    if (name)
        setObjectName(QLatin1String(name));
    setFixedSize(Width, Height);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(centredOn(screen->geometry()));

    m_imagePath = QAInstall::pixmapDir(programPath) + QDir::separator()
        + QAEdition::splashImage();
    const QPixmap picture = QPixmap::fromImage(readPicture(m_imagePath));
    // Without its picture the window stays plain; starting up matters more than the look.
    if (!picture.isNull()) {
        QPalette pal = palette();
        pal.setBrush(QPalette::Window, picture);
        setPalette(pal);
        // An opaque picture is drawn in one copy by paintEvent: filled as a background,
        // it would be tiled by helper threads started for that one frame.
        if (picture.hasAlphaChannel())
            setAutoFillBackground(true);
        else
            setAttribute(Qt::WA_OpaquePaintEvent);
    }
    // A question asked while the window is built (recover the unsaved changes? update the
    // document?) must not open behind the splash.
    qApp->installEventFilter(this);
}

bool QAVmrSplashWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched != this) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->isWindow() && widget->isModal()) {
            qApp->removeEventFilter(this);
            hide();
        }
    }
    return QFrame::eventFilter(watched, event);
}

void QAVmrSplashWindow::paintEvent(QPaintEvent *event)
{
    if (testAttribute(Qt::WA_OpaquePaintEvent)) {
        QPainter painter(this);
        painter.drawPixmap(0, 0, palette().brush(QPalette::Window).texture());
    }
    QFrame::paintEvent(event);
}

QAVmrSplashWindow::~QAVmrSplashWindow() = default;

QPoint QAVmrSplashWindow::centredOn(const QRect &desktop)
{
    return desktop.topLeft()
        + QPoint((desktop.width() - Width) / 2, (desktop.height() - Height) / 2);
}
