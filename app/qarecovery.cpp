#include "app/qarecovery.h"

#include "app/qaportdocument.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

namespace {

// The first line of a recovery file; its number changes when the layout does.
const char kMagic[] = "vmreditor recovery 1";

QByteArray digest(const QByteArray &content)
{
    return QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex();
}

} // namespace

QString QARecovery::directory()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/recovery");
}

QString QARecovery::fileFor(const QString &documentPath)
{
    // One name per absolute path: the same document reached by another relative path
    // finds its work again.
    const QByteArray key = QFileInfo(documentPath).absoluteFilePath().toUtf8();
    return directory() + QLatin1Char('/') + QString::fromLatin1(digest(key))
        + QStringLiteral(".recovery");
}

bool QARecovery::write(const QString &documentPath, const QDomElement &root, QString *error)
{
    QByteArray content;
    QBuffer buffer(&content);
    buffer.open(QIODevice::WriteOnly);
    QString refusal;
    if (!QAPortDocument::writeDocument(&buffer, root, &refusal)) {
        if (error)
            *error = refusal;
        return false;
    }
    buffer.close();

    if (!QDir().mkpath(directory())) {
        if (error)
            *error = QStringLiteral("cannot create ") + directory();
        return false;
    }
    // Only the user may read what may be an unreleased port.
    QFile::setPermissions(directory(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QByteArray header =
        QByteArray(kMagic) + '\n'
        + QUrl::toPercentEncoding(QFileInfo(documentPath).absoluteFilePath(), "/") + '\n'
        + QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toLatin1() + '\n'
        + QByteArray::number(content.size()) + ' ' + digest(content) + '\n';
    QSaveFile file(fileFor(documentPath));
    if (!file.open(QIODevice::WriteOnly) || file.write(header) != header.size()
        || file.write(content) != content.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QARecovery::Kept QARecovery::read(const QString &documentPath)
{
    return readFile(fileFor(documentPath));
}

QList<QARecovery::Kept> QARecovery::withoutDocument()
{
    QList<Kept> found;
    const QFileInfoList files = QDir(directory()).entryInfoList({QStringLiteral("*.recovery")},
                                                                QDir::Files);
    for (const QFileInfo &file : files) {
        Kept kept = readFile(file.absoluteFilePath());
        // Only a file of its own name: another name is no recovery of this editor.
        if (kept.state == State::Kept && !QFileInfo::exists(kept.documentPath)
            && fileFor(kept.documentPath) == file.absoluteFilePath())
            found << kept;
    }
    std::sort(found.begin(), found.end(),
              [](const Kept &a, const Kept &b) { return a.written > b.written; });
    return found;
}

QARecovery::Kept QARecovery::readFile(const QString &path)
{
    Kept kept;
    QFile file(path);
    if (!file.exists())
        return kept;
    kept.state = State::Damaged;
    if (!file.open(QIODevice::ReadOnly))
        return kept;

    if (file.readLine().trimmed() != kMagic)
        return kept;
    kept.documentPath = QUrl::fromPercentEncoding(file.readLine().trimmed());
    kept.written = QDateTime::fromString(QString::fromLatin1(file.readLine().trimmed()),
                                         Qt::ISODateWithMs);
    const QList<QByteArray> sizeAndDigest = file.readLine().trimmed().split(' ');
    if (!kept.written.isValid() || sizeAndDigest.size() != 2)
        return kept;
    bool ok = false;
    const qint64 size = sizeAndDigest.at(0).toLongLong(&ok);
    if (!ok || size < 0 || size != file.size() - file.pos())
        return kept;
    kept.content = file.read(size);
    if (kept.content.size() != size || digest(kept.content) != sizeAndDigest.at(1)) {
        kept.content.clear();
        return kept;
    }
    kept.state = State::Kept;
    return kept;
}

void QARecovery::discard(const QString &documentPath)
{
    QFile::remove(fileFor(documentPath));
}

QString QARecovery::setAside(const QString &documentPath)
{
    const QString from = fileFor(documentPath);
    QString to = from + QStringLiteral(".damaged");
    for (int n = 2; QFile::exists(to); ++n)
        to = from + QStringLiteral(".damaged.") + QString::number(n);
    // Kept where it is when it cannot move: still nothing is lost.
    return QFile::rename(from, to) ? to : from;
}
