// Measures the editor on one large port description and prints each figure beside the
// bare reference it is judged against, on the same machine and the same file:
//
//   vmr_bench [--size MB] [--dense] [--file PATH] [--repeat N] [--keystrokes N]
//             [--only load,save,switch,keystroke,find,check,startup,memory,xmllint,
//                     siblings,series,markup,process,x11,nodememory]
//
// On the port of --size or --file: bare QDomDocument parse and serialize, the editor's
// load (tree built, first viewer shown) and save, the switch to the largest node of each
// viewer kind, one keystroke in a 1 MB free text, start-up against a minimal Qt window
// program, peak memory against the file size (beside what a bare QDomDocument of the
// same file needs), and xmllint's parse and serialize as the outside reference.
//
// On generated ports of other shapes: 25 000 and 100 000 small file nodes opened
// (siblings) and the memory of the larger (nodememory); ports of many files from 1 to
// 45 MB loaded and saved, with the cost of each further megabyte (series); a 2 MB text
// full of markup saved against plain text (markup); the whole program from its start to
// its first frame against a QtXml program and xmllint (process); and, on an X display,
// keystrokes and viewer switches timed through the server against bare widgets (x11).

#include "app/qamainwindoweditor.h"
#include "app/qaportdocument.h"
#include "bench/vmrdocgen.h"
#include "bench/xlatency.h"
#include "document/qafindpane.h"
#include "document/qaportcheck.h"
#include "document/qabuildnode.h"
#include "document/qaisnode.h"
#include "document/qaissettingsnode.h"
#include "document/qalibconfchildnodes.h"
#include "document/qalibconfnode.h"
#include "document/qaparsernode.h"
#include "document/qarootnode.h"
#include "document/qavmrdocumentedits.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"
#include "support/qauserlibrary.h"
#include "support/qaxmleditor.h"
#include "viewers/qafreetext.h"
#include "viewers/qavmrtextedit.h"
#include "viewers/qavmrviewer.h"

#include <QApplication>
#include <QUndoStack>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDomDocument>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextStream>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <thread>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// The ASCII file typed into through the X server: 64 KB of source in every generated port.
constexpr char kTypedFile[] = "file_0.sh";

struct Options
{
    double sizeMb = 20;
    QString file;
    int repeat = 3;
    int keystrokes = 40;
    bool dense = false; // the generated document is almost all small elements
    QStringList only; // sections to run; all when empty

    bool runs(const char *section) const
    {
        return only.isEmpty() || only.contains(QLatin1String(section));
    }
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double timeMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

double medianMs(int repeat, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i)
        times.push_back(timeMs(work));
    return median(times);
}

// Lets posted layout and paint requests run, so that "shown" means drawn.
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    // As the event loop would: what was deleted later (a viewer left, with the document
    // it holds) goes now, which processEvents outside a running loop does not do.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The peak resident size of this process image. Not getrusage: its maximum survives
// fork and exec, so a child would report its parent's peak.
long peakRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

/** Bytes in use on the heap, or -1 where the C library does not say. */
long long heapInUse()
{
#ifdef __GLIBC__
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long long>(info.uordblks + info.hblkhd);
#else
    return -1;
#endif
}

/** Rejects any modal dialog that a measured step opens, and remembers that it did. */
class DialogGuard : public QObject
{
public:
    DialogGuard()
    {
        connect(&m_timer, &QTimer::timeout, this, [this]() {
            if (QWidget *w = QApplication::activeModalWidget()) {
                m_seen << w->windowTitle();
                if (auto *dialog = qobject_cast<QDialog *>(w))
                    dialog->reject();
                else
                    w->close();
            }
        });
        m_timer.start(50);
    }
    QStringList seen() const { return m_seen; }

private:
    QTimer m_timer;
    QStringList m_seen;
};

// The viewer each node kind opens, grouped as the user sees them.
QString viewerKind(QTreeWidgetItem *item)
{
    if (dynamic_cast<QAIsSettingsNode *>(item))
        return QStringLiteral("settings table");
    if (dynamic_cast<QAPerlNode *>(item) || dynamic_cast<QALCFctNode *>(item))
        return QStringLiteral("function");
    if (dynamic_cast<QACmdFileNode *>(item) || dynamic_cast<QALCFreeTextNode *>(item)
        || dynamic_cast<QAPcOrbNode *>(item) || dynamic_cast<QAPcOtNode *>(item)
        || dynamic_cast<QAPcAdaNode *>(item))
        return QStringLiteral("free text");
    if (dynamic_cast<QALCItemNode *>(item))
        return QStringLiteral("item");
    if (dynamic_cast<QALCChoiceNode *>(item))
        return QStringLiteral("choice");
    if (dynamic_cast<QABinFileNode *>(item))
        return QStringLiteral("binary file");
    return QStringLiteral("comment");
}

// How much a node's viewer has to show: the nodes and characters below its element. For
// branch nodes only the direct children count, as their viewer shows the comment only.
qint64 weight(QTreeWidgetItem *item)
{
    auto *node = dynamic_cast<QAVmrEditorNode *>(item);
    if (!node)
        return 0;
    const QDomElement element = node->data();
    if (element.isNull())
        return 0;
    if (item->childCount() > 0)
        return element.childNodes().count();
    qint64 total = 0;
    QDomNode n = element.firstChild();
    while (!n.isNull()) {
        total += 1 + (n.isText() ? n.toText().length() : 0);
        if (n.hasChildNodes()) {
            n = n.firstChild();
            continue;
        }
        while (!n.isNull() && n != element && n.nextSibling().isNull())
            n = n.parentNode();
        if (n.isNull() || n == element)
            break;
        n = n.nextSibling();
    }
    return total;
}

// The same content in bare Qt widgets, as a viewer kind lays it out: what showing that
// node would cost the toolkit alone. Built in parent, which is then shown.
void buildBareViewer(const QString &kind, const QDomElement &element, QWidget *parent)
{
    auto *layout = new QVBoxLayout(parent);
    const auto text = [](const QDomElement &e, const char *tag) {
        return e.firstChildElement(QLatin1String(tag)).text();
    };
    if (kind == QLatin1String("settings table")) {
        auto *table = new QTreeWidget(parent);
        table->setColumnCount(2);
        QList<QTreeWidgetItem *> rows;
        for (QDomElement row = element.firstChildElement().firstChildElement(); !row.isNull();
             row = row.nextSiblingElement()) {
            rows.append(new QTreeWidgetItem(
                {row.firstChildElement(QStringLiteral("KEY")).isNull() ? row.tagName()
                                                                       : text(row, "KEY"),
                 text(row, "VALUE")}));
        }
        table->addTopLevelItems(rows);
        table->resizeColumnToContents(0);
        layout->addWidget(table);
    } else if (kind == QLatin1String("free text") || kind == QLatin1String("function")) {
        QDomElement holder = element;
        for (const char *tag : {"VALUEFCTPERL", "VALUEFCTADA", "VALUEFCT"}) {
            if (!element.firstChildElement(QLatin1String(tag)).isNull()) {
                holder = element.firstChildElement(QLatin1String(tag));
                break;
            }
        }
        layout->addWidget(new QLabel(text(holder, "PROTO"), parent));
        auto *body = new QPlainTextEdit(parent);
        body->setPlainText(text(holder, "VALUE"));
        layout->addWidget(body);
    } else if (kind == QLatin1String("binary file")) {
        // What the data records, as the form shows before its own reading has ended.
        const QDomElement encoded = element.firstChildElement(QStringLiteral("ENCODED_FILE"));
        layout->addWidget(new QLabel(encoded.attribute(QStringLiteral("Size")), parent));
        layout->addWidget(new QLabel(encoded.attribute(QStringLiteral("Sha256")), parent));
        layout->addWidget(new QPushButton(QStringLiteral("Replace..."), parent));
        layout->addWidget(new QPushButton(QStringLiteral("Extract..."), parent));
    } else if (kind == QLatin1String("item")) {
        auto *scroll = new QScrollArea(parent);
        auto *fields = new QWidget;
        auto *fieldLayout = new QVBoxLayout(fields);
        for (QDomElement item = element.firstChildElement(QStringLiteral("ITEM")); !item.isNull();
             item = item.nextSiblingElement(QStringLiteral("ITEM"))) {
            const QDomElement field = item.firstChildElement();
            auto *row = new QHBoxLayout;
            row->addWidget(new QCheckBox(field.attribute(QStringLiteral("Name")), fields));
            row->addWidget(new QLineEdit(text(field, "VALUE"), fields));
            fieldLayout->addLayout(row);
        }
        scroll->setWidget(fields);
        scroll->setWidgetResizable(true);
        layout->addWidget(scroll);
    } else if (kind == QLatin1String("choice")) {
        const QDomElement choice = element.firstChildElement(QStringLiteral("CHOICE"));
        auto *variants = new QComboBox(parent);
        for (QDomElement v = choice.firstChildElement(QStringLiteral("CHOICEDATA")); !v.isNull();
             v = v.nextSiblingElement(QStringLiteral("CHOICEDATA")))
            variants->addItem(v.text());
        layout->addWidget(variants);
        auto *tabs = new QTabWidget(parent);
        for (QDomElement tab = choice.firstChildElement(QStringLiteral("ONGLET")); !tab.isNull();
             tab = tab.nextSiblingElement(QStringLiteral("ONGLET"))) {
            auto *page = new QPlainTextEdit(tab.firstChildElement().text(), tabs);
            tabs->addTab(page, tab.attribute(QStringLiteral("Label")));
        }
        layout->addWidget(tabs);
    }
    auto *comment = new QTextEdit(parent);
    comment->setPlainText(text(element, "COMMENT"));
    layout->addWidget(comment);
}

/** Median time to build and show the bare widgets of a viewer kind for element. */
double bareSwitchMs(const QString &kind, const QDomElement &element, QWidget *area, int repeat)
{
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i) {
        auto *bare = new QWidget(area);
        bare->setGeometry(area->rect());
        times.push_back(timeMs([&]() {
            buildBareViewer(kind, element, bare);
            bare->show();
            settle();
        }));
        delete bare;
        settle();
    }
    return median(times);
}

struct Row
{
    QString measure;
    double editor = 0;
    QString unit;
    QString reference;
    double referenceValue = 0;
    QString target;
    bool hasTarget = false;
    bool met = true;
};

void printRows(const std::vector<Row> &rows)
{
    std::printf("\n%-40s %14s   %-34s %8s   %-12s %s\n", "measure", "editor", "bare reference",
                "ratio", "target", "");
    std::printf("%s\n", QByteArray(120, '-').constData());
    for (const Row &r : rows) {
        const QString value = QString::number(r.editor, 'f', r.unit == QLatin1String("MB") ? 1 : 2)
            + QLatin1Char(' ') + r.unit;
        QString reference = r.reference;
        QString ratio = QStringLiteral("-");
        if (r.referenceValue > 0) {
            reference += QStringLiteral(" ")
                + QString::number(r.referenceValue, 'f', r.unit == QLatin1String("MB") ? 1 : 2)
                + QLatin1Char(' ') + r.unit;
            ratio = QString::number(r.editor / r.referenceValue, 'f', 2) + QLatin1Char('x');
        }
        std::printf("%-40s %14s   %-34s %8s   %-12s %s\n", qPrintable(r.measure),
                    qPrintable(value), qPrintable(reference), qPrintable(ratio),
                    qPrintable(r.target), r.hasTarget ? (r.met ? "met" : "MISSED") : "");
    }
    std::printf("\n");
}

/** A fresh home for a child process: no recent file, no settings of an earlier run. */
QProcessEnvironment childEnvironment(const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    env.insert(QStringLiteral("VMREDITOR_AUTOQUIT_MS"), QStringLiteral("0"));
    return env;
}

/** Wall time from start to exit of a program that shows its window and quits. */
double runProgramMs(const QString &program, const QStringList &arguments,
                    const QProcessEnvironment &env, bool *ok)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    const bool finished = process.waitForStarted(10000) && process.waitForFinished(60000);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return ms;
}

/** xmllint --timing: the parse and the save of the file, in milliseconds. */
bool xmllintTimes(const QString &file, const QString &outFile, double *parse, double *save)
{
    QProcess process;
    process.start(QStringLiteral("xmllint"),
                  {QStringLiteral("--timing"), QStringLiteral("--huge"),
                   QStringLiteral("--output"), outFile, file});
    if (!process.waitForStarted(10000) || !process.waitForFinished(300000)
        || process.exitCode() != 0)
        return false;
    const QString report = QString::fromLocal8Bit(process.readAllStandardError());
    const QRegularExpression parsing(QStringLiteral("Parsing took (\\d+) ms"));
    const QRegularExpression saving(QStringLiteral("Saving took (\\d+) ms"));
    const auto p = parsing.match(report);
    const auto s = saving.match(report);
    if (!p.hasMatch() || !s.hasMatch())
        return false;
    *parse = p.captured(1).toDouble();
    *save = s.captured(1).toDouble();
    return true;
}

// Child mode: the whole editing session on the file; prints "name value" lines: the
// peak resident size after each step (start, load, viewers, save), then where the heap
// of the open document goes: the DOM, the tree's nodes with the first viewer, and how
// many nodes and elements there are.
int memoryChild(const QString &file, const QString &saveAs, char *programName)
{
    char *argv[] = {programName, nullptr};
    QAMainWindowEditor window(1, argv);
    window.show();
    settle();
    std::printf("peak-window %ld\n", peakRssKb());
    if (file.isEmpty())
        return 0;
    const long long heapBefore = heapInUse();
    window.document()->load(file, false);
    settle();
    const long long heapLoaded = heapInUse();
    std::printf("peak-load %ld\n", peakRssKb());
    QAVmrEditorTree *tree = window.editor()->tree();
    // A session that did not open the document, or did not save it, has no peak to
    // report: it would look small and pass.
    if (tree->topLevelItemCount() != 1)
        return 1;
    int nodes = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        ++nodes;
    // The tree goes, the document stays: what is left is the DOM.
    tree->clearTree();
    settle();
    const long long heapDom = heapInUse();
    qint64 elements = 0;
    qint64 attributes = 0;
    {
        // Scoped: a handle kept here would keep the document alive past the next load.
        const QDomElement root = window.editor()->document().documentElement();
        for (QDomNode n = root; !n.isNull();) {
            if (n.isElement()) {
                ++elements;
                attributes += n.attributes().count();
            }
            if (n.hasChildNodes()) {
                n = n.firstChild();
                continue;
            }
            while (!n.isNull() && n != root && n.nextSibling().isNull())
                n = n.parentNode();
            if (n.isNull() || n == root)
                break;
            n = n.nextSibling();
        }
    }
    window.document()->load(file, false);
    settle();
    std::map<QString, std::pair<qint64, QTreeWidgetItem *>> largest;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const qint64 w = weight(*it);
        auto &slot = largest[viewerKind(*it)];
        if (!slot.second || w > slot.first)
            slot = {w, *it};
    }
    for (const auto &entry : largest) {
        tree->setCurrentItem(entry.second.second);
        settle();
    }
    std::printf("peak-viewers %ld\n", peakRssKb());
    window.document()->save(saveAs);
    if (!window.document()->lastSaveOk())
        return 1;
    std::printf("peak-save %ld\n", peakRssKb());
    if (heapBefore >= 0) {
        std::printf("heap-loaded %lld\n", (heapLoaded - heapBefore) / 1024);
        std::printf("heap-dom %lld\n", (heapDom - heapBefore) / 1024);
        std::printf("heap-tree %lld\n", (heapLoaded - heapDom) / 1024);
    }
    std::printf("nodes %d\nelements %lld\nattributes %lld\n", nodes, elements, attributes);
    return 0;
}

// Child mode: what the file costs the DOM alone, with nothing of the editor: the peak
// resident size of a bare QDomDocument parse, then of a save streamed to a file, each
// after the other in a fresh process; then the heap that the parsed document holds.
int memoryBareChild(const QString &file, const QString &saveAs)
{
    std::printf("peak-start %ld\n", peakRssKb());
    const long long heapBefore = heapInUse();
    QDomDocument document;
    {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly) || !document.setContent(&in))
            return 1;
    }
    const long long heapParsed = heapInUse();
    std::printf("peak-parse %ld\n", peakRssKb());
    {
        QFile out(saveAs);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        QTextStream stream(&out);
        document.save(stream, 0);
    }
    std::printf("peak-save %ld\n", peakRssKb());
    if (heapBefore >= 0)
        std::printf("heap-dom %lld\n", (heapParsed - heapBefore) / 1024);
    return 0;
}

/** The "name value" lines that a child reported, or nothing when it failed. */
std::map<QString, double> runChild(const QString &self, const QStringList &arguments,
                                   const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(self, arguments);
    if (!process.waitForStarted(10000) || !process.waitForFinished(600000)
        || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    std::map<QString, double> values;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> words = line.trimmed().split(' ');
        bool ok = false;
        const double value = words.value(1).toDouble(&ok);
        if (words.size() == 2 && ok)
            values[QString::fromLatin1(words.at(0))] = value;
    }
    return values;
}

QString thousands(qint64 n)
{
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return digits;
}

/** Rows of the memory of a whole session on file, and where its heap goes. */
void memoryRows(const QString &file, const QTemporaryDir &work, const QString &limit,
                std::vector<Row> *rows)
{
    const double fileMb = double(QFileInfo(file).size()) / (1024 * 1024);
    const QString self = QCoreApplication::applicationFilePath();
    QTemporaryDir sessionHome;
    const QProcessEnvironment env = childEnvironment(sessionHome.path());
    std::map<QString, double> session =
        runChild(self, {QStringLiteral("--memory-child"), file,
                        work.filePath(QStringLiteral("mem.xvm"))}, env);
    // The same file in a bare DOM, without any window: the part of the peak that holding
    // the document as a DOM costs whatever the editor does.
    std::map<QString, double> bare =
        runChild(self, {QStringLiteral("--memory-bare"), file,
                        work.filePath(QStringLiteral("bare.xvm"))}, env);
    const auto mb = [](double kb) { return kb / 1024; };
    const double peak = mb(session[QStringLiteral("peak-save")]);
    // No limit: the figure is reported only.
    const double factor = limit.isEmpty() ? 0 : limit.chopped(1).toDouble();
    const QString nodes = thousands(qint64(session[QStringLiteral("nodes")]));
    rows->push_back({QStringLiteral("peak memory, %1 nodes (open, viewers, save)").arg(nodes),
                     peak, QStringLiteral("MB"), QStringLiteral("file size"), fileMb,
                     limit.isEmpty() ? QString() : QStringLiteral("<= ") + limit,
                     !limit.isEmpty(), peak > 0 && (limit.isEmpty() || peak <= factor * fileMb)});
    const std::pair<const char *, const char *> steps[] = {
        {"peak-window", "  peak with the empty window"},
        {"peak-load", "  peak after the load"},
        {"peak-viewers", "  peak after every viewer"},
        {"heap-dom", "  heap: the DOM as the editor loads it"},
        {"heap-tree", "  heap: tree nodes and first viewer"}};
    for (const auto &step : steps) {
        if (session.count(QLatin1String(step.first)))
            rows->push_back({QLatin1String(step.second), mb(session[QLatin1String(step.first)]),
                             QStringLiteral("MB"), QStringLiteral("file size"), fileMb,
                             QString(), false, true});
    }
    if (session[QStringLiteral("nodes")] > 0 && session.count(QStringLiteral("heap-tree")))
        std::printf("Per node of the tree: %.0f bytes of heap; per element of the DOM: %.0f "
                    "bytes (%lld elements, %lld attributes)\n",
                    session[QStringLiteral("heap-tree")] * 1024 / session[QStringLiteral("nodes")],
                    session[QStringLiteral("heap-dom")] * 1024
                        / std::max(1.0, session[QStringLiteral("elements")]),
                    qint64(session[QStringLiteral("elements")]),
                    qint64(session[QStringLiteral("attributes")]));
    if (bare.count(QStringLiteral("peak-save")))
        rows->push_back({QStringLiteral("  bare QDomDocument: peak, parse and save"),
                         mb(bare[QStringLiteral("peak-save")]), QStringLiteral("MB"),
                         QStringLiteral("file size"), fileMb, QString(), false, true});
    if (bare.count(QStringLiteral("heap-dom")))
        rows->push_back({QStringLiteral("  bare QDomDocument: heap of the document"),
                         mb(bare[QStringLiteral("heap-dom")]), QStringLiteral("MB"),
                         QStringLiteral("file size"), fileMb, QString(), false, true});
}

/** Writes the generated port of the scale into work, or says why not. */
QString generated(const QTemporaryDir &work, const QString &name, const VmrDocGen::Scale &scale)
{
    const QString path = work.filePath(name);
    QString error;
    if (!VmrDocGen::writeFile(path, scale, &error)) {
        std::fprintf(stderr, "vmr_bench: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(error));
        return QString();
    }
    return path;
}

/** The editor's window, driven as the user drives it, with a small port to go back to. */
struct Session
{
    QAMainWindowEditor *window = nullptr;
    QString small;
    int repeat = 3;

    /** The time to open path, the small port having been opened before each run. */
    std::vector<double> loads(const QString &path) const
    {
        std::vector<double> times;
        for (int i = 0; i < repeat; ++i) {
            // Drop the large document first: what is measured is opening it, not closing it.
            window->document()->load(small, false);
            settle();
            times.push_back(timeMs([&]() {
                window->document()->load(path, false);
                settle();
            }));
        }
        return times;
    }
    bool loaded() const
    {
        return window->editor()->tree()->topLevelItemCount() == 1 && window->editor()->viewer();
    }
    int nodes() const
    {
        int count = 0;
        for (QTreeWidgetItemIterator it(window->editor()->tree()); *it; ++it)
            ++count;
        return count;
    }
    double save(const QString &out) const
    {
        QFile::remove(out);
        // Every generated port has the same name: the ports saved before in this run are
        // no others of the target directory, whose own ports are read again.
        QAPortDocument *document = window->document();
        document->scanTargetDirectory(document->targetDirectory());
        const double ms = medianMs(repeat, [&]() { document->save(out); });
        return window->document()->lastSaveOk() ? ms : -1;
    }
};

/** Median times of QtXml alone on the file: parse, and serialize into out. */
std::pair<double, double> bareParseAndSave(const QString &file, const QString &out, int repeat)
{
    QDomDocument bare;
    std::vector<double> parses;
    for (int i = 0; i < repeat; ++i) {
        // Freeing the previous tree is no part of a parse.
        bare = QDomDocument();
        parses.push_back(timeMs([&]() {
            QFile in(file);
            in.open(QIODevice::ReadOnly);
            bare.setContent(&in);
        }));
    }
    const double save = medianMs(repeat, [&]() {
        QFile outFile(out);
        outFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
        outFile.write(bare.toByteArray(0));
    });
    return {median(parses), save};
}


// Many small siblings: opening four times as many file nodes must cost about four times
// as much, not sixteen.
void siblingRows(const Session &session, const QTemporaryDir &work, QStringList *ports,
                 std::vector<Row> *rows)
{
    double best[2] = {0, 0};
    const int counts[2] = {25000, 100000};
    for (int i = 0; i < 2; ++i) {
        const QString file = generated(work, QStringLiteral("siblings_%1.xvm").arg(counts[i]),
                                       VmrDocGen::Scale::smallSiblings(counts[i]));
        if (file.isEmpty())
            return;
        ports->append(file);
        const std::vector<double> times = session.loads(file);
        best[i] = session.loaded() ? *std::min_element(times.begin(), times.end()) : 0;
        const double parse =
            bareParseAndSave(file, work.filePath(QStringLiteral("siblings-out.xvm")),
                             session.repeat)
                .first;
        std::printf("%s small file nodes: %.1f MB, %d tree nodes, opened in %.0f ms (best), "
                    "QDomDocument parse %.0f ms (median)\n",
                    qPrintable(thousands(counts[i])), double(QFileInfo(file).size()) / 1048576,
                    session.nodes(), best[i], parse);
        std::fflush(stdout);
    }
    rows->push_back({QStringLiteral("open 100 000 small file nodes (best of %1)")
                         .arg(session.repeat),
                     best[1], QStringLiteral("ms"), QStringLiteral("open 25 000"), best[0],
                     QStringLiteral("<= 4.4x"), true,
                     best[0] > 0 && best[1] > 0 && best[1] <= 4.4 * best[0]});
}

// Ports of many files from 1 to 45 MB: load and save against QtXml alone, and what each
// further megabyte costs, so that a cost growing faster than the document shows as a
// growing number.
void seriesRows(const Session &session, const QTemporaryDir &work, std::vector<Row> *rows)
{
    const QString out = work.filePath(QStringLiteral("series-out.xvm"));
    struct Point
    {
        double mb, load, parse, save, serialize;
    };
    std::vector<Point> points;
    std::printf("\n%-22s %10s %10s %7s %10s %10s %7s %16s\n", "port of many files",
                "load ms", "parse ms", "ratio", "save ms", "serial. ms", "ratio",
                "load ms per MB");
    for (const int size : {1, 5, 20, 23, 45}) {
        const QString file = generated(work, QStringLiteral("files_%1.xvm").arg(size),
                                       VmrDocGen::Scale::withManyFiles(qint64(size) << 20));
        if (file.isEmpty())
            return;
        const double mb = double(QFileInfo(file).size()) / 1048576;
        const auto [parse, serialize] = bareParseAndSave(file, out, session.repeat);
        const double load = median(session.loads(file));
        const bool loaded = session.loaded();
        const int nodes = session.nodes();
        const double save = session.save(out);
        const QString name = QStringLiteral("%1 MB, %2 nodes").arg(mb, 0, 'f', 1).arg(nodes);
        QString growth = QStringLiteral("-");
        if (!points.empty() && mb > points.back().mb)
            growth = QString::number((load - points.back().load) / (mb - points.back().mb), 'f',
                                     1);
        std::printf("%-22s %10.0f %10.0f %6.2fx %10.0f %10.0f %6.2fx %16s\n", qPrintable(name),
                    load, parse, load / parse, save, serialize, save / serialize,
                    qPrintable(growth));
        std::fflush(stdout);
        points.push_back({mb, load, parse, save, serialize});
        if (size == 23 || size == 45)
            rows->push_back({QStringLiteral("load a %1 MB port of %2 files")
                                 .arg(size)
                                 .arg(thousands(VmrDocGen::Scale::withManyFiles(
                                                    qint64(size) << 20)
                                                    .smallFiles)),
                             load, QStringLiteral("ms"), QStringLiteral("QDomDocument parse"),
                             parse, QStringLiteral("<= 1.25x"), true,
                             loaded && load <= 1.25 * parse});
        if (size == 45)
            rows->push_back({QStringLiteral("save the same"), save, QStringLiteral("ms"),
                             QStringLiteral("QDomDocument serialize"), serialize,
                             QStringLiteral("<= 1.25x"), true,
                             save > 0 && save <= 1.25 * serialize});
    }
    // From the smallest to the largest port: the cost of a megabyte at the end against
    // its cost at the start.
    if (points.size() >= 3) {
        const Point &a = points[0];
        const Point &b = points[1];
        const Point &y = points[points.size() - 2];
        const Point &z = points.back();
        std::printf("load per MB: %.1f ms from %.0f to %.0f MB, %.1f ms from %.0f to %.0f MB;"
                    " parse per MB: %.1f and %.1f ms\n",
                    (b.load - a.load) / (b.mb - a.mb), a.mb, b.mb,
                    (z.load - y.load) / (z.mb - y.mb), y.mb, z.mb,
                    (b.parse - a.parse) / (b.mb - a.mb), (z.parse - y.parse) / (z.mb - y.mb));
    }
}

// A long text full of characters that a save must escape, against plain text of the
// same length: the writer's cost must not depend on what the text holds.
void markupRows(const Session &session, const QTemporaryDir &work, std::vector<Row> *rows)
{
    const QString out = work.filePath(QStringLiteral("markup-out.xvm"));
    double saves[2] = {0, 0};
    for (int markup = 0; markup < 2; ++markup) {
        const QString file =
            generated(work, QStringLiteral("text_%1.xvm").arg(markup),
                      VmrDocGen::Scale::withText(2 << 20, markup == 1));
        if (file.isEmpty())
            return;
        session.loads(file);
        saves[markup] = session.save(out);
    }
    rows->push_back({QStringLiteral("save a 2 MB text full of <, > and &"), saves[1],
                     QStringLiteral("ms"), QStringLiteral("the same with plain text"), saves[0],
                     QStringLiteral("<= 1.5x"), true,
                     saves[0] > 0 && saves[1] > 0 && saves[1] <= 1.5 * saves[0]});
}

/** The environment of a program run on the display, with a home of its own. */
std::vector<QByteArray> displayEnvironment(const QString &home)
{
    std::vector<QByteArray> env;
    const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    QProcessEnvironment child = childEnvironment(home);
    child.insert(QStringLiteral("QT_QPA_PLATFORM"),
                 qEnvironmentVariableIsEmpty("DISPLAY") ? QStringLiteral("offscreen")
                                                        : QStringLiteral("xcb"));
    for (const QString &key : child.keys())
        env.push_back((key + QLatin1Char('=') + child.value(key)).toLocal8Bit());
    return env;
}

/** Runs argv in env; the time until its window closed after its first frame, or exit. */
double timeProgram(const QStringList &arguments, const std::vector<QByteArray> &env,
                   bool onDisplay)
{
    std::vector<QByteArray> args;
    for (const QString &a : arguments)
        args.push_back(a.toLocal8Bit());
    std::vector<const char *> argv;
    for (const QByteArray &a : args)
        argv.push_back(a.constData());
    argv.push_back(nullptr);
    std::vector<const char *> envp;
    for (const QByteArray &e : env)
        envp.push_back(e.constData());
    envp.push_back(nullptr);
    if (onDisplay)
        return XLatency::timeToClosedWindow(argv.data(), envp.data());
    QProcess process;
    QProcessEnvironment penv;
    for (const QByteArray &e : env) {
        const qsizetype eq = e.indexOf('=');
        penv.insert(QString::fromLocal8Bit(e.left(eq)), QString::fromLocal8Bit(e.mid(eq + 1)));
    }
    bool ok = false;
    const double ms = runProgramMs(arguments.value(0), arguments.mid(1), penv, &ok);
    return ok ? ms : -1;
}

// The whole process as the user starts it: from the command to the first frame that
// shows the document, against a program that only parses the file with QtXml before
// its first frame, and against xmllint reading it.
void processRows(const QStringList &files, int repeat, std::vector<Row> *rows)
{
    const bool onDisplay = !qEnvironmentVariableIsEmpty("DISPLAY") && XLatency::available();
    QTemporaryDir home;
    const std::vector<QByteArray> env = displayEnvironment(home.path());
    // The first start installs the user's library files; it is not measured.
    timeProgram({QStringLiteral(VMR_BENCH_EDITOR)}, env, onDisplay);
    for (const QString &file : files) {
        std::vector<double> editor, bare, lint;
        for (int i = 0; i < repeat; ++i) {
            editor.push_back(timeProgram({QStringLiteral(VMR_BENCH_EDITOR), file}, env,
                                         onDisplay));
            bare.push_back(timeProgram({QStringLiteral(VMR_BENCH_MINIMAL), file}, env,
                                       onDisplay));
            QProcess xmllint;
            bool linted = false;
            const double ms = timeMs([&]() {
                xmllint.start(QStringLiteral("xmllint"),
                              {QStringLiteral("--noout"), QStringLiteral("--huge"), file});
                linted = xmllint.waitForFinished(300000) && xmllint.exitCode() == 0;
            });
            lint.push_back(linted ? ms : -1);
        }
        const bool ok = std::none_of(editor.begin(), editor.end(), [](double t) { return t < 0; })
            && std::none_of(bare.begin(), bare.end(), [](double t) { return t < 0; });
        const QString name = QStringLiteral("%1 MB").arg(
            double(QFileInfo(file).size()) / 1048576, 0, 'f', 1);
        rows->push_back({QStringLiteral("start to first frame with a %1 port%2")
                             .arg(name, onDisplay ? QString() : QStringLiteral(" (offscreen)")),
                         ok ? median(editor) : -1, QStringLiteral("ms"),
                         QStringLiteral("QtXml parse and window"), median(bare), QString(),
                         false, ok});
        rows->push_back({QStringLiteral("  xmllint --noout on the same"), median(lint),
                         QStringLiteral("ms"), QStringLiteral("QtXml parse and window"),
                         median(bare), QString(), false, true});
    }
}

// Child mode, on a display: keystrokes and viewer switches timed through the X server,
// in the editor on file and in bare widgets holding the same text. Prints "name value"
// lines, the medians in milliseconds.
int x11Child(const QString &file, int keys, char *programName)
{
    // A blinking cursor draws by itself; only the input may draw.
    QApplication::setCursorFlashTime(0);
    const QSize size(1024, 700);
    const auto activate = [](QWidget *window) {
        window->show();
        window->activateWindow();
        window->raise();
        QElapsedTimer waited;
        waited.start();
        while (QApplication::activeWindow() != window && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        settle();
    };
    // The toolkit keeps running while the probe waits on the server from a thread.
    // Prints the medians as "name value" and "name-settled value" lines.
    const auto probe = [](const char *name,
                          const std::function<std::vector<XLatency::Latency>()> &measure) {
        std::vector<XLatency::Latency> times;
        QEventLoop loop;
        std::thread thread([&]() {
            times = measure();
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec();
        thread.join();
        std::vector<double> drawn, settled;
        for (const XLatency::Latency &t : times) {
            drawn.push_back(t.drawn);
            settled.push_back(t.settled);
        }
        const bool ok = !times.empty()
            && std::none_of(drawn.begin(), drawn.end(), [](double t) { return t < 0; });
        std::printf("%s %.3f\n%s-settled %.3f\n", name, ok ? median(drawn) : -1.0, name,
                    ok ? median(settled) : -1.0);
        std::fflush(stdout);
    };
    const auto centre = [](QTreeWidget *tree, QTreeWidgetItem *item) {
        tree->scrollToItem(item);
        return tree->viewport()->mapToGlobal(tree->visualItemRect(item).center());
    };

    char *argv[] = {programName, nullptr};
    QAMainWindowEditor window(1, argv);
    window.resize(size);
    activate(&window);
    window.document()->load(file, false);
    settle();
    QAVmrEditor *editor = window.editor();
    QAVmrEditorTree *tree = editor->tree();
    QTreeWidgetItem *root = tree->topLevelItem(0);
    QTreeWidgetItem *typed = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it && !typed; ++it) {
        if ((*it)->text(0) == QLatin1String(kTypedFile))
            typed = *it;
    }
    if (!root || !typed)
        return 1;
    const unsigned long id = window.winId();
    const QPoint away = centre(tree, root);
    const QPoint target = centre(tree, typed);
    probe("switch-editor",
          [&]() { return XLatency::clicks(id, away, target, std::max(keys / 4, 7)); });
    if (editor->currentNode() != typed)
        return 1;
    auto *viewer = qobject_cast<QAFreeText *>(editor->viewer());
    while (viewer && !viewer->isLoaded())
        settle();
    if (!viewer)
        return 1;
    QPlainTextEdit *edit = viewer->textEditor();
    const QString text = edit->toPlainText();
    edit->setFocus();
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(int(text.size() / 2));
    edit->setTextCursor(cursor);
    settle();
    probe("key-editor", [&]() { return XLatency::keystrokes(id, keys); });
    const bool wrote = QAVmrViewer::childText(QStringLiteral("VALUE"),
                                              dynamic_cast<QAVmrEditorNode *>(typed)->data())
                           .size()
        == text.size() + keys;
    const QDomElement element = dynamic_cast<QAVmrEditorNode *>(typed)->data();
    window.hide();

    // The same in bare widgets: a tree of two items beside an area where clicking the
    // file builds the widgets of a free text with the same content.
    QWidget bare;
    bare.resize(size);
    auto *layout = new QHBoxLayout(&bare);
    auto *bareTree = new QTreeWidget(&bare);
    auto *bareRoot = new QTreeWidgetItem(bareTree, {QStringLiteral("port")});
    auto *bareFile = new QTreeWidgetItem(bareRoot, {QLatin1String(kTypedFile)});
    bareTree->expandAll();
    auto *area = new QWidget(&bare);
    layout->addWidget(bareTree, 1);
    layout->addWidget(area, 3);
    QPointer<QWidget> shown;
    QObject::connect(bareTree, &QTreeWidget::currentItemChanged, &bare,
                     [&](QTreeWidgetItem *current) {
                         delete shown;
                         shown = new QWidget(area);
                         shown->setGeometry(area->rect());
                         buildBareViewer(current == bareFile ? QStringLiteral("free text")
                                                             : QStringLiteral("comment"),
                                         element, shown);
                         shown->show();
                     });
    activate(&bare);
    const unsigned long bareId = bare.winId();
    probe("switch-bare", [&]() {
        return XLatency::clicks(bareId, centre(bareTree, bareRoot), centre(bareTree, bareFile),
                                std::max(keys / 4, 7));
    });
    auto *bareEdit = shown ? shown->findChild<QPlainTextEdit *>() : nullptr;
    if (!bareEdit)
        return 1;
    bareEdit->setFocus();
    QTextCursor bareCursor = bareEdit->textCursor();
    bareCursor.setPosition(int(bareEdit->toPlainText().size() / 2));
    bareEdit->setTextCursor(bareCursor);
    settle();
    probe("key-bare", [&]() { return XLatency::keystrokes(bareId, keys); });
    std::printf("key-wrote %d\n", wrote ? 1 : 0);
    return 0;
}

// Keystrokes and viewer switches through the X server in a small and a large port of
// many files: the same keystroke in the same text must cost the same.
void x11Rows(const QStringList &files, int keys, std::vector<Row> *rows)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !XLatency::available()) {
        std::printf("No X display with XTest and Damage: no latency through the X server "
                    "(tools/vmr bench starts one)\n");
        return;
    }
    QTemporaryDir home;
    QProcessEnvironment env = childEnvironment(home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    std::vector<std::pair<double, std::map<QString, double>>> results;
    for (const QString &file : files) {
        std::map<QString, double> r =
            runChild(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--x11-child"), file, QString::number(keys)}, env);
        const double mb = double(QFileInfo(file).size()) / 1048576;
        results.emplace_back(mb, r);
        std::printf("%.1f MB port through X, until drawing stops: keystroke %.2f ms (bare "
                    "%.2f), switch %.2f ms (bare %.2f)\n",
                    mb, r[QStringLiteral("key-editor-settled")], r[QStringLiteral("key-bare-settled")],
                    r[QStringLiteral("switch-editor-settled")],
                    r[QStringLiteral("switch-bare-settled")]);
        const QString port = QStringLiteral("%1 MB port").arg(mb, 0, 'f', 1);
        const bool ok = r.count(QStringLiteral("key-editor")) && r[QStringLiteral("key-wrote")] == 1;
        rows->push_back({QStringLiteral("keystroke through X, %1 (median)").arg(port),
                         ok ? r[QStringLiteral("key-editor")] : -1, QStringLiteral("ms"),
                         QStringLiteral("bare QPlainTextEdit"), r[QStringLiteral("key-bare")],
                         QString(), false, ok});
        rows->push_back({QStringLiteral("switch to a file's text through X, %1").arg(port),
                         r.count(QStringLiteral("switch-editor")) ? r[QStringLiteral("switch-editor")]
                                                                 : -1,
                         QStringLiteral("ms"), QStringLiteral("bare Qt widgets"),
                         r[QStringLiteral("switch-bare")], QString(), false, true});
    }
    if (results.size() == 2) {
        const double small = results[0].second[QStringLiteral("key-editor")];
        const double large = results[1].second[QStringLiteral("key-editor")];
        rows->push_back({QStringLiteral("keystroke through X, %1 MB against %2 MB port")
                             .arg(results[1].first, 0, 'f', 0)
                             .arg(results[0].first, 0, 'f', 0),
                         large, QStringLiteral("ms"), QStringLiteral("the same in the small port"),
                         small, QStringLiteral("<= 1.2x"), true,
                         small > 0 && large > 0 && large <= 1.2 * small});
    }
}

bool parseOptions(const QStringList &args, Options *options)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == QLatin1String("--size") && hasValue)
            options->sizeMb = args.at(++i).toDouble(&ok);
        else if (a == QLatin1String("--file") && hasValue)
            options->file = args.at(++i);
        else if (a == QLatin1String("--repeat") && hasValue)
            options->repeat = args.at(++i).toInt(&ok);
        else if (a == QLatin1String("--keystrokes") && hasValue)
            options->keystrokes = args.at(++i).toInt(&ok);
        else if (a == QLatin1String("--dense"))
            options->dense = true;
        else if (a == QLatin1String("--only") && hasValue)
            options->only = args.at(++i).split(QLatin1Char(','));
        else
            return false;
        if (!ok)
            return false;
    }
    return options->sizeMb > 0 && options->repeat > 0 && options->keystrokes > 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Never the user's own settings or library files, and no display needed.
    QTemporaryDir home;
    // Children run with the home and platform their parent gave them.
    const bool memoryMode = argc > 1 && qstrcmp(argv[1], "--memory-child") == 0;
    const bool x11Mode = argc > 3 && qstrcmp(argv[1], "--x11-child") == 0;
    if (argc > 3 && qstrcmp(argv[1], "--memory-bare") == 0) {
        // No window and no toolkit beyond the core: the DOM alone.
        QCoreApplication app(argc, argv);
        return memoryBareChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    if (!memoryMode && !x11Mode) {
        const QByteArray base = home.path().toLocal8Bit();
        qputenv("HOME", base);
        qputenv("XDG_CONFIG_HOME", base + "/config");
        qputenv("XDG_DATA_HOME", base + "/data");
        qputenv("XDG_CACHE_HOME", base + "/cache");
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("ORBISKDIR"))
        qputenv("ORBISKDIR", VMR_BENCH_ORBISK);

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quintar Software"));
    QCoreApplication::setApplicationName(QStringLiteral("vmreditor"));
    QALogMessageBox::setQuiet(true);

    if (memoryMode) {
        const QStringList args = QCoreApplication::arguments();
        return memoryChild(args.value(2), args.value(3), argv[0]);
    }
    if (x11Mode)
        return x11Child(QString::fromLocal8Bit(argv[2]), std::max(1, atoi(argv[3])), argv[0]);

    Options options;
    if (!parseOptions(QCoreApplication::arguments(), &options)) {
        std::fprintf(stderr,
                     "usage: vmr_bench [--size MB] [--dense] [--file PATH] [--repeat N] [--keystrokes N]\n"
                     "                 [--only load,save,switch,keystroke,find,check,startup,memory,xmllint,\n"
                     "                         siblings,series,markup,process,x11,nodememory]\n");
        return 2;
    }

    QTemporaryDir work;
    QString file = options.file;
    // Start-up alone needs no document; writing one just before would leave the disk
    // busy while the starts are timed.
    const bool needsFile = options.runs("load") || options.runs("save") || options.runs("switch")
        || options.runs("keystroke") || options.runs("memory") || options.runs("xmllint")
        || options.runs("find") || options.runs("check");
    if (file.isEmpty() && needsFile) {
        file = work.filePath(QStringLiteral("large.xvm"));
        const qint64 bytes = qint64(options.sizeMb * 1024 * 1024);
        const auto scale = options.dense ? VmrDocGen::Scale::denseForBytes(bytes)
                                         : VmrDocGen::Scale::forBytes(bytes);
        QString error;
        if (!VmrDocGen::writeFile(file, scale, &error)) {
            std::fprintf(stderr, "vmr_bench: cannot write %s: %s\n", qPrintable(file),
                         qPrintable(error));
            return 1;
        }
    }
    const qint64 fileBytes = QFileInfo(file).size();
    const double fileMb = double(fileBytes) / (1024 * 1024);
    if (needsFile) {
        std::printf("Document: %s, %.1f MB\n", qPrintable(QDir::toNativeSeparators(file)),
                    fileMb);
        std::fflush(stdout);
    }

    std::vector<Row> rows;
    const QString out = work.filePath(QStringLiteral("out.xvm"));

    // Bare references: QtXml alone, on the same file.
    double bareParse = 0;
    double bareSave = 0;
    if (options.runs("load") || options.runs("save") || options.runs("xmllint")) {
        QDomDocument bare;
        std::vector<double> parses;
        for (int i = 0; i < options.repeat; ++i) {
            // Freeing the previous tree is no part of a parse.
            bare = QDomDocument();
            parses.push_back(timeMs([&]() {
                QFile in(file);
                in.open(QIODevice::ReadOnly);
                bare.setContent(&in);
            }));
        }
        bareParse = median(parses);
        bareSave = medianMs(options.repeat, [&]() {
            QFile outFile(out);
            outFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
            outFile.write(bare.toByteArray(0));
        });
    }

    // The editor, as the user drives it: one window, a load, every viewer, a save.
    char *windowArgv[] = {argv[0], nullptr};
    QAMainWindowEditor window(1, windowArgv);
    window.show();
    settle();
    DialogGuard guard;
    QAVmrEditor *editor = window.editor();
    QAVmrEditorTree *tree = editor->tree();
    const QString small = QString::fromLocal8Bit(qgetenv("ORBISKDIR"))
        + QStringLiteral("/targets/examples/linux_gcc.xvm");

    const bool needsDocument = options.runs("load") || options.runs("save")
        || options.runs("switch") || options.runs("keystroke") || options.runs("find")
        || options.runs("check");
    if (needsDocument) {
        std::vector<double> loads;
        for (int i = 0; i < (options.runs("load") ? options.repeat : 1); ++i) {
            // Drop the large document first: what is measured is opening it, not closing it.
            window.document()->load(small, false);
            settle();
            loads.push_back(timeMs([&]() {
                window.document()->load(file, false);
                settle();
            }));
        }
        const bool loaded = tree->topLevelItemCount() == 1 && editor->viewer();
        int nodes = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            ++nodes;
        std::printf("Tree: %d nodes%s\n", nodes, loaded ? "" : " (LOAD FAILED)");
        if (options.runs("load"))
            rows.push_back({QStringLiteral("load (tree built, first viewer shown)"),
                            median(loads), QStringLiteral("ms"),
                            QStringLiteral("QDomDocument parse"), bareParse,
                            QStringLiteral("<= 1.25x"), true,
                            loaded && median(loads) <= 1.25 * bareParse});
    }

    if (options.runs("save")) {
        const double editorSave = medianMs(options.repeat, [&]() { window.document()->save(out); });
        const bool saved = window.document()->lastSaveOk();
        rows.push_back({QStringLiteral("save"), editorSave, QStringLiteral("ms"),
                        QStringLiteral("QDomDocument serialize"), bareSave,
                        QStringLiteral("<= 1.25x"), true, saved && editorSave <= 1.25 * bareSave});
    }

    if (options.runs("find")) {
        // Find in the port, until the first hits are listed: a word found all over the
        // port, and a text found nowhere, for which the whole port is walked.
        QAFindPane *pane = window.findPane();
        for (const QString &pattern : {QStringLiteral("usr"), QStringLiteral("zq-nowhere")}) {
            pane->patternEdit()->setText(pattern);
            const double ms = medianMs(options.repeat, [&]() { pane->search(); });
            const bool found = pattern == QLatin1String("usr") ? !pane->hits().isEmpty()
                                                                : pane->hits().isEmpty();
            std::printf("find \"%s\": %lld hits listed first\n", qPrintable(pattern),
                        static_cast<long long>(pane->hits().size()));
            rows.push_back({QStringLiteral("find \"%1\", first hits listed").arg(pattern), ms,
                            QStringLiteral("ms"), QString(), 0, QStringLiteral("< 150 ms"),
                            true, found && ms < 150});
        }
        pane->setDocument(QDomElement(), nullptr);
    }

    if (options.runs("check")) {
        // The checks before generation, from scratch each time: embedded files decoded
        // again, the target directory read again.
        const QDomElement root = window.document()->root();
        qsizetype problems = -1;
        const double ms = medianMs(options.repeat, [&]() {
            QAPortCheck check;
            check.setTarget(window.document()->targetDirectory(), QString());
            problems = check.check(root).size();
        });
        std::printf("check: %lld problems\n", static_cast<long long>(problems));
        rows.push_back({QStringLiteral("check the port (every rule, files decoded)"), ms,
                        QStringLiteral("ms"), QString(), 0, QStringLiteral("< 200 ms"), true,
                        problems >= 0 && ms < 200});
        // As after each edit: the embedded files' data, unchanged, is not decoded again.
        QAPortCheck again;
        again.setTarget(window.document()->targetDirectory(), QString());
        again.check(root);
        const double warm = medianMs(options.repeat, [&]() { again.check(root); });
        rows.push_back({QStringLiteral("check again after an edit"), warm, QStringLiteral("ms"),
                        QString(), 0, QStringLiteral("< 200 ms"), true, warm < 200});
    }

    if (options.runs("switch")) {
        // The largest node of each viewer kind, reached from the root node each time.
        std::map<QString, std::pair<qint64, QTreeWidgetItem *>> largest;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            const qint64 w = weight(*it);
            auto &slot = largest[viewerKind(*it)];
            if (!slot.second || w > slot.first)
                slot = {w, *it};
        }
        QTreeWidgetItem *rootItem = tree->topLevelItem(0);
        for (const auto &entry : largest) {
            QTreeWidgetItem *target = entry.second.second;
            QTreeWidgetItem *away = target == rootItem ? rootItem->child(0) : rootItem;
            std::vector<double> times;
            for (int i = 0; i < std::max(options.repeat, 5); ++i) {
                tree->setCurrentItem(away);
                settle();
                times.push_back(timeMs([&]() {
                    tree->setCurrentItem(target);
                    settle();
                }));
            }
            const double ms = median(times);
            const bool shown = editor->viewer() && editor->currentNode() == target;
            tree->setCurrentItem(away);
            settle();
            auto *node = dynamic_cast<QAVmrEditorNode *>(target);
            const double bare =
                node ? bareSwitchMs(entry.first, node->data(), editor->editionArea(),
                                    std::max(options.repeat, 5))
                     : 0;
            rows.push_back({QStringLiteral("switch to %1 viewer (%2)")
                                .arg(entry.first, target->text(0).left(16)),
                            ms, QStringLiteral("ms"), QStringLiteral("bare Qt widgets"), bare,
                            QStringLiteral("< 50 ms"), true, shown && ms < 50});
        }
    }

    if (options.runs("keystroke")) {
        // One keystroke in the large free text: the editor's write-through against the
        // same keystroke in a bare QTextEdit holding the same text.
        QTreeWidgetItem *largeText = nullptr;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if ((*it)->text(0) == QLatin1String("large.txt"))
                largeText = *it;
        }
        double keystroke = 0;
        double bareKeystroke = 0;
        double richKeystroke = 0;
        double barePlainLoad = 0;
        qint64 textBytes = 0;
        bool wroteThrough = false;
        QAFreeText *viewer = nullptr;
        double fullyLoaded = 0;
        int historySteps = 0;
        double historyBytes = -1;
        double bareHistoryBytes = -1;
        if (largeText) {
            tree->setCurrentItem(tree->topLevelItem(0));
            settle();
            // A long text arrives in parts after the viewer shows: how long until all of
            // it is there and editable.
            fullyLoaded = timeMs([&]() {
                tree->setCurrentItem(largeText);
                viewer = qobject_cast<QAFreeText *>(editor->viewer());
                while (viewer && !viewer->isLoaded())
                    settle();
            });
        }
        if (viewer) {
            QPlainTextEdit *edit = viewer->textEditor();
            const QString before = edit->toPlainText();
            textBytes = before.size();
            auto typeInto = [&](auto *target) {
                target->setFocus();
                QTextCursor cursor = target->textCursor();
                cursor.setPosition(int(before.size() / 2));
                target->setTextCursor(cursor);
                settle();
                std::vector<double> times;
                for (int i = 0; i < options.keystrokes; ++i) {
                    times.push_back(timeMs([&]() {
                        QTest::keyClick(target, Qt::Key_X);
                        settle();
                    }));
                }
                return median(times);
            };
            keystroke = typeInto(edit);
            auto *node = dynamic_cast<QAVmrEditorNode *>(largeText);
            wroteThrough = node
                && QAVmrViewer::childText(QStringLiteral("VALUE"), node->data()).size()
                    == textBytes + options.keystrokes;

            // The history grows by the change, not by the text: keystrokes each at another
            // place, so that each is a step of its own, and the heap they add.
            QUndoStack *history = editor->edits()->history();
            const int stepsBefore = history->count();
            const auto heapPerScatteredKey = [&](QPlainTextEdit *target) {
                const long long heapBefore = heapInUse();
                for (int i = 0; i < options.keystrokes; ++i) {
                    QTextCursor cursor = target->textCursor();
                    cursor.setPosition(int(before.size() / 2) - 997 * (i + 1));
                    target->setTextCursor(cursor);
                    QTest::keyClick(target, Qt::Key_Y);
                }
                settle();
                return heapBefore < 0 ? -1.0
                                      : double(heapInUse() - heapBefore) / options.keystrokes;
            };
            historyBytes = heapPerScatteredKey(edit);
            historySteps = history->count() - stepsBefore;

            QPlainTextEdit plain;
            plain.resize(edit->size());
            plain.show();
            barePlainLoad = timeMs([&]() {
                plain.setPlainText(before);
                settle();
            });
            bareKeystroke = typeInto(&plain);
            bareHistoryBytes = heapPerScatteredKey(&plain);
            plain.hide();

            // What the same keystroke costs in a rich-text editor, which lays out the
            // whole text again below the change.
            QTextEdit rich;
            rich.setPlainText(before);
            rich.resize(edit->size());
            rich.show();
            richKeystroke = typeInto(&rich);
        }
        rows.push_back({QStringLiteral("keystroke in a %1 KB free text (median)")
                            .arg(textBytes / 1024),
                        keystroke, QStringLiteral("ms"), QStringLiteral("bare QPlainTextEdit"),
                        bareKeystroke, QStringLiteral("< 5 ms"), true,
                        wroteThrough && keystroke > 0 && keystroke < 5});
        // Beyond what the text widget itself keeps per change; a step that copied the text
        // would cost twice its size in UTF-16.
        rows.push_back({QStringLiteral("  heap per separate keystroke step"), historyBytes,
                        QStringLiteral("bytes"), QStringLiteral("bare QPlainTextEdit"),
                        bareHistoryBytes, QStringLiteral("+ < 1% of text"), true,
                        historySteps == options.keystrokes && historyBytes >= 0
                            && historyBytes - bareHistoryBytes < 0.02 * textBytes});
        rows.push_back({QStringLiteral("  the same in a bare QTextEdit"), richKeystroke,
                        QStringLiteral("ms"), QString(), 0, QString(), false, true});
        rows.push_back({QStringLiteral("  the %1 KB text fully loaded after a switch")
                            .arg(textBytes / 1024),
                        fullyLoaded, QStringLiteral("ms"), QStringLiteral("bare QPlainTextEdit"),
                        barePlainLoad, QString(), false, true});
    }
    if (needsDocument) {
        window.document()->load(small, false);
        settle();
    }

    // Ports of other shapes, each opened in the same window.
    const Session session{&window, small, options.repeat};
    QStringList siblingPorts;
    if (options.runs("siblings") || options.runs("nodememory"))
        siblingRows(session, work, &siblingPorts, &rows);
    if (options.runs("series"))
        seriesRows(session, work, &rows);
    if (options.runs("markup"))
        markupRows(session, work, &rows);
    window.document()->load(small, false);
    settle();
    QStringList filePorts;
    if (options.runs("process") || options.runs("x11")) {
        for (const int size : {1, 45}) {
            const QString port = work.filePath(QStringLiteral("files_%1.xvm").arg(size));
            if (QFileInfo::exists(port)
                || !generated(work, QFileInfo(port).fileName(),
                              VmrDocGen::Scale::withManyFiles(qint64(size) << 20))
                        .isEmpty())
                filePorts << port;
        }
    }
    if (options.runs("process"))
        processRows(filePorts, options.repeat, &rows);
    if (options.runs("x11"))
        x11Rows(filePorts, options.keystrokes, &rows);
    if (options.runs("nodememory") && siblingPorts.size() == 2)
        memoryRows(siblingPorts.at(1), work, QString(), &rows);

    if (options.runs("startup")) {
        // Start-up against the minimal window program, each from its start to its exit:
        // both close right after the first frame of their window is drawn (the editor
        // through VMREDITOR_AUTOQUIT_MS=0), so both are measured with a window really
        // shown. Both have a home of their own, so that no recent document is opened.
        // The machine is shared: the runs alternate and many are taken, so that a
        // passing load falls on both and the median leaves it out.
        QTemporaryDir startHome;
        const QProcessEnvironment env = childEnvironment(startHome.path());
        bool ok = true;
        // The first start installs the user's library files; it is not measured.
        runProgramMs(QStringLiteral(VMR_BENCH_EDITOR), {}, env, &ok);
        std::vector<double> editorStarts;
        std::vector<double> minimalStarts;
        bool startsOk = ok;
        for (int i = 0; i < std::max(options.repeat, 15); ++i) {
            editorStarts.push_back(runProgramMs(QStringLiteral(VMR_BENCH_EDITOR), {}, env, &ok));
            startsOk = startsOk && ok;
            minimalStarts.push_back(
                runProgramMs(QStringLiteral(VMR_BENCH_MINIMAL), {}, env, &ok));
            startsOk = startsOk && ok;
        }
        rows.push_back({QStringLiteral("start-up to the shown main window"),
                        median(editorStarts), QStringLiteral("ms"),
                        QStringLiteral("minimal Qt window"), median(minimalStarts),
                        QStringLiteral("<= 1.5x"), true,
                        startsOk && median(editorStarts) <= 1.5 * median(minimalStarts)});
    }

    if (options.runs("memory"))
        memoryRows(file, work, QStringLiteral("12x"), &rows);

    if (options.runs("xmllint")) {
        // The outside reference: libxml2 on the same file.
        double lintParse = 0;
        double lintSave = 0;
        if (xmllintTimes(file, work.filePath(QStringLiteral("xmllint.xvm")), &lintParse,
                         &lintSave)) {
            rows.push_back({QStringLiteral("xmllint parse (outside reference)"), lintParse,
                            QStringLiteral("ms"), QStringLiteral("QDomDocument parse"), bareParse,
                            QString(), false, true});
            rows.push_back({QStringLiteral("xmllint serialize (outside reference)"), lintSave,
                            QStringLiteral("ms"), QStringLiteral("QDomDocument serialize"),
                            bareSave, QString(), false, true});
        } else {
            std::printf("xmllint is not available: no outside reference\n");
        }
    }

    printRows(rows);
    if (!guard.seen().isEmpty())
        std::printf("Dialogs that appeared and were dismissed: %s\n",
                    qPrintable(guard.seen().join(QStringLiteral(", "))));
    const bool allMet = std::all_of(rows.begin(), rows.end(), [](const Row &r) { return r.met; });
    std::printf("%s\n", allMet ? "Every target met." : "Some targets were missed.");
    return allMet ? 0 : 1;
}
