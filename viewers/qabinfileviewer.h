#pragma once

#include "viewers/qavmrviewer.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QStringList>

#include <memory>

class QACommentPane;
class QAScriptRunner;
class QLabel;
class QPushButton;
class QTemporaryDir;
class QTextEdit;

/**
 * The viewer of a binary file embedded in the port: its size and SHA-256 digest as its
 * data decodes, a warning when they differ from what the data records, and the commands
 * to replace the file by another (encoded again, one undoable step) and to extract it.
 */
class QABinFileViewer : public QAVmrViewer
{
    Q_OBJECT

public:
    QABinFileViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QABinFileViewer() override;

    void reveal(const QAXmlChange &change) override;

    /** Asks for a file and encodes it in place of the embedded one. */
    void replaceFile();
    /** Asks where to write the embedded file, and writes it there. */
    void extractFile();
    /** The encoding of a replacement, while it runs. */
    QAScriptRunner *encodingRun() const { return m_run; }
    /** Whether the size and digest of a large file are still being worked out. */
    bool reading() const { return m_reading != nullptr; }
    QLabel *sizeLabel() const { return m_size; }
    QLabel *digestLabel() const { return m_digest; }
    QTextEdit *commentEditor() const;

signals:
    void statusMsg(const QString &text, int msecs);

private:
    struct Facts
    {
        bool decoded = false;
        qint64 size = 0;
        QString digest;
    };
    static Facts readFacts(const QList<QStringList> &parts);
    void refresh();
    void showFacts(const Facts &facts);
    void encoded(int exitCode, bool crashed);

    QDomElement m_element;
    QLabel *m_size = nullptr;
    QLabel *m_digest = nullptr;
    QLabel *m_warning = nullptr;
    QPushButton *m_replace = nullptr;
    QPushButton *m_extract = nullptr;
    QACommentPane *m_comment = nullptr;
    QAScriptRunner *m_run = nullptr;
    QFutureWatcher<Facts> *m_reading = nullptr;
    std::unique_ptr<QTemporaryDir> m_workDir;
};
