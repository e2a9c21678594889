#include "viewers/qabinfileviewer.h"

#include "support/qaedition.h"
#include "support/qaembeddedfile.h"
#include "support/qascriptrunner.h"
#include "support/qaxmledits.h"
#include "support/qaxmleditor.h"
#include "viewers/qacommentpane.h"
#include "viewers/qavmrdocbrowser.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPromise>
#include <QPushButton>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QVBoxLayout>

namespace {

const char kEncodeScript[] = "encode64.pl";
const char kEncodedFile[] = "tmp.txt";

} // namespace

QABinFileViewer::QABinFileViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
    , m_element(element)
{
    showPage();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);

    auto *facts = new QFormLayout;
    m_size = new QLabel(this);
    m_size->setObjectName(QStringLiteral("binary size"));
    m_digest = new QLabel(this);
    m_digest->setObjectName(QStringLiteral("binary digest"));
    m_digest->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_warning = new QLabel(this);
    m_warning->setObjectName(QStringLiteral("binary warning"));
    m_warning->setWordWrap(true);
    facts->addRow(tr("Size:"), m_size);
    facts->addRow(tr("SHA-256:"), m_digest);
    layout->addLayout(facts);
    layout->addWidget(m_warning);

    auto *buttons = new QHBoxLayout;
    m_replace = new QPushButton(tr("&Replace..."), this);
    m_replace->setObjectName(QStringLiteral("replace binary file"));
    m_extract = new QPushButton(tr("E&xtract..."), this);
    m_extract->setObjectName(QStringLiteral("extract binary file"));
    buttons->addWidget(m_replace);
    buttons->addWidget(m_extract);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(m_replace, &QPushButton::clicked, this, &QABinFileViewer::replaceFile);
    connect(m_extract, &QPushButton::clicked, this, &QABinFileViewer::extractFile);

    m_comment = new QACommentPane(this, nullptr);
    layout->addSpacing(5);
    m_comment->addTo(layout, true);
    m_comment->fill(m_element,
                    tr("Comment for \"%1\" binary file").arg(m_element.attribute(QStringLiteral("Name"))));

    // An undone or redone replacement, another way in to the same file.
    connect(edits(), &QAXmlEdits::changed, this, [this](const QAXmlChange &change) {
        if (change.element == m_element)
            refresh();
    });
    refresh();
}

QABinFileViewer::~QABinFileViewer()
{
    if (m_run)
        m_run->disconnect(this);
}

QTextEdit *QABinFileViewer::commentEditor() const
{
    return m_comment->editor();
}

void QABinFileViewer::reveal(const QAXmlChange &change)
{
    if (m_comment->shows(change))
        m_comment->select(change);
    else
        m_replace->setFocus(Qt::OtherFocusReason);
}

namespace {

// Data of more base64 than this is read on another thread: the form shows at once, and
// its size and digest follow.
constexpr qsizetype kReadAtOnce = 1024 * 1024;

} // namespace

QABinFileViewer::Facts QABinFileViewer::readFacts(const QList<QStringList> &parts)
{
    Facts facts;
    QCryptographicHash sha(QCryptographicHash::Sha256);
    QByteArray bytes;
    for (const QStringList &texts : parts) {
        if (!QAEmbeddedFile::decodeTexts(texts, &bytes))
            return facts;
        sha.addData(bytes);
        facts.size += bytes.size();
    }
    facts.decoded = true;
    facts.digest = QString::fromLatin1(sha.result().toHex());
    return facts;
}

void QABinFileViewer::refresh()
{
    // A reading of the data before this change is of no use any more.
    delete m_reading;
    m_reading = nullptr;
    QList<QStringList> parts;
    if (!QAEmbeddedFile::dataParts(m_element, &parts)) {
        showFacts(Facts());
        return;
    }
    qsizetype length = 0;
    for (const QStringList &texts : std::as_const(parts))
        for (const QString &text : texts)
            length += text.size();
    if (length <= kReadAtOnce) {
        showFacts(readFacts(parts));
        return;
    }
    m_size->setText(tr("reading the data..."));
    m_digest->clear();
    m_warning->clear();
    m_extract->setEnabled(false);
    // The texts are copies: the document may change, or this viewer go, while they are read.
    auto promise = std::make_shared<QPromise<Facts>>();
    m_reading = new QFutureWatcher<Facts>(this);
    connect(m_reading, &QFutureWatcherBase::finished, this, [this]() {
        const Facts facts = m_reading->result();
        m_reading->deleteLater();
        m_reading = nullptr;
        showFacts(facts);
    });
    m_reading->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, parts]() {
        promise->addResult(readFacts(parts));
        promise->finish();
    });
}

void QABinFileViewer::showFacts(const Facts &facts)
{
    m_extract->setEnabled(facts.decoded);
    if (!facts.decoded) {
        m_size->setText(tr("unknown"));
        m_digest->clear();
        m_warning->setText(tr("The file's data is missing or damaged: replace the file."));
        return;
    }
    const QDomElement encoded = QAEmbeddedFile::encodedData(m_element);
    m_size->setText(tr("%1 bytes").arg(QLocale().toString(facts.size)));
    m_digest->setText(facts.digest);
    const QString recordedSize = encoded.attribute(QStringLiteral("Size"));
    const QString recordedDigest = encoded.attribute(QStringLiteral("Sha256")).toLower();
    if (encoded.hasAttribute(QStringLiteral("Size")) && recordedSize != QString::number(facts.size))
        m_warning->setText(tr("The data records %1 bytes: it is damaged.").arg(recordedSize));
    else if (encoded.hasAttribute(QStringLiteral("Sha256")) && recordedDigest != facts.digest)
        m_warning->setText(tr("The data records another digest: it is damaged."));
    else
        m_warning->clear();
}

void QABinFileViewer::replaceFile()
{
    if (m_run)
        return;
    QFileDialog dialog(this, tr("Replace the Binary File"), QDir::currentPath(),
                       tr("Binary files (*)"));
    dialog.setObjectName(QStringLiteral("replace binary file dialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath();

    m_workDir = std::make_unique<QTemporaryDir>();
    m_run = new QAScriptRunner(QCoreApplication::arguments().value(0), this);
    connect(m_run, &QAScriptRunner::finished, this, &QABinFileViewer::encoded);
    m_run->setWorkingDirectory(m_workDir->path());
    m_replace->setEnabled(false);
    emit statusMsg(tr("Encoding the binary file..."), 33333);
    if (!m_workDir->isValid() || !m_run->start(QLatin1String(kEncodeScript),
                                               {chosen, QLatin1String(kEncodedFile)})) {
        delete m_run;
        m_run = nullptr;
        m_replace->setEnabled(true);
        QMessageBox::critical(this, QAEdition::applicationTitle(),
                              tr("The encoding script could not be started."));
        emit statusMsg(QString(), 0);
    }
}

void QABinFileViewer::encoded(int exitCode, bool crashed)
{
    QAScriptRunner *run = m_run;
    m_run = nullptr;
    run->deleteLater();
    m_replace->setEnabled(true);
    const std::unique_ptr<QTemporaryDir> workDir = std::move(m_workDir);
    if (crashed || exitCode != 0) {
        emit statusMsg(tr("ERROR: the binary file was not replaced."), 2000);
        QMessageBox::critical(this, QAEdition::applicationTitle(), run->failureText());
        return;
    }
    QFile file(QDir(workDir->path()).filePath(QLatin1String(kEncodedFile)));
    QDomDocument parsed;
    QString error;
    if (!file.open(QIODevice::ReadOnly) || !QAXmlEditor::parseDocument(&file, &parsed, &error)) {
        emit statusMsg(tr("ERROR: the binary file was not replaced."), 2000);
        QMessageBox::critical(this, QAEdition::applicationTitle(),
                              tr("The encoded file cannot be read: %1")
                                  .arg(error.isEmpty() ? file.errorString() : error));
        return;
    }
    // The old data goes and the new comes as one step; the file keeps its name.
    const QDomElement content = documentOf(m_element).importNode(parsed.documentElement(), true).toElement();
    const QDomElement old = QAEmbeddedFile::encodedData(m_element);
    QAXmlEdits *history = edits();
    history->beginGroup(tr("Replace Binary File"));
    if (!old.isNull()) {
        const QDomNode before = old.nextSibling();
        history->removeElement(old);
        history->insertElement(m_element, content, before);
    } else {
        history->insertElement(m_element, content);
    }
    history->endGroup();
    refresh();
    emit statusMsg(tr("Binary file replaced."), 2000);
}

void QABinFileViewer::extractFile()
{
    QByteArray bytes;
    if (!QAEmbeddedFile::decode(m_element, &bytes))
        return;
    QFileDialog dialog(this, tr("Extract the Binary File"),
                       QDir::current().filePath(m_element.attribute(QStringLiteral("Name"))),
                       tr("All files (*)"));
    dialog.setObjectName(QStringLiteral("extract binary file dialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().first();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        QMessageBox::critical(this, QAEdition::applicationTitle(),
                              tr("The file %1 cannot be written: %2")
                                  .arg(QDir::toNativeSeparators(path), out.errorString()));
        return;
    }
    emit statusMsg(tr("Binary file extracted to %1.").arg(QDir::toNativeSeparators(path)), 2000);
}
