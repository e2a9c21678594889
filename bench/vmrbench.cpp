// Measures the editor on one large port description and prints each figure beside the
// bare reference it is judged against, on the same machine and the same file:
//
//   vmr_bench [--size MB] [--dense] [--file PATH] [--repeat N] [--keystrokes N]
//             [--only load,save,switch,keystroke,startup,memory,xmllint]
//
// Bare QDomDocument parse and serialize, the editor's load (tree built, first viewer
// shown) and save, the switch to the largest node of each viewer kind, one keystroke in a
// 1 MB free text, start-up against a minimal Qt window program, peak memory against the
// file size (beside what a bare QDomDocument of the same file needs), and xmllint's parse
// and serialize as the outside reference.

#include "app/qamainwindoweditor.h"
#include "bench/vmrdocgen.h"
#include "document/qabuildnode.h"
#include "document/qaisnode.h"
#include "document/qaissettingsnode.h"
#include "document/qalibconfchildnodes.h"
#include "document/qalibconfnode.h"
#include "document/qaparsernode.h"
#include "document/qarootnode.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"
#include "support/qauserlibrary.h"
#include "support/qaxmleditor.h"
#include "viewers/qafreetext.h"
#include "viewers/qavmrtextedit.h"
#include "viewers/qavmrviewer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDomDocument>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

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

// Child mode: the whole editing session on the file; prints the peak resident size after
// each step: start, load, viewers, save; then the heap that the open document and its
// tree hold once loaded.
int memoryChild(const QString &file, const QString &saveAs, char *programName)
{
    char *argv[] = {programName, nullptr};
    QAMainWindowEditor window(1, argv);
    window.show();
    settle();
    std::printf("%ld\n", peakRssKb());
    if (!file.isEmpty()) {
        const long long heapBefore = heapInUse();
        window.load(file, false);
        settle();
        const long long heapLoaded = heapInUse();
        std::printf("%ld\n", peakRssKb());
        QAVmrEditorTree *tree = window.editor()->tree();
        // A session that did not open the document, or did not save it, has no peak to
        // report: it would look small and pass.
        if (tree->topLevelItemCount() != 1)
            return 1;
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
        std::printf("%ld\n", peakRssKb());
        window.save(saveAs);
        if (!window.lastSaveOk())
            return 1;
        std::printf("%ld\n", peakRssKb());
        std::printf("%lld\n", heapBefore < 0 ? -1 : (heapLoaded - heapBefore) / 1024);
    }
    return 0;
}

// Child mode: what the file costs the DOM alone, with nothing of the editor: the peak
// resident size of a bare QDomDocument parse, then of a save streamed to a file, each
// after the other in a fresh process; then the heap that the parsed document holds.
int memoryBareChild(const QString &file, const QString &saveAs)
{
    std::printf("%ld\n", peakRssKb());
    const long long heapBefore = heapInUse();
    QDomDocument document;
    {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly) || !document.setContent(&in))
            return 1;
    }
    const long long heapParsed = heapInUse();
    std::printf("%ld\n", peakRssKb());
    {
        QFile out(saveAs);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        QTextStream stream(&out);
        document.save(stream, 0);
    }
    std::printf("%ld\n", peakRssKb());
    std::printf("%lld\n", heapBefore < 0 ? -1 : (heapParsed - heapBefore) / 1024);
    return 0;
}

/** The peaks that a memory child reported, in KB, or nothing when it failed. */
std::vector<long> runMemoryChild(const QString &self, const QString &mode, const QString &file,
                                 const QString &saveAs, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{mode};
    if (!file.isEmpty())
        arguments << file << saveAs;
    process.start(self, arguments);
    if (!process.waitForStarted(10000) || !process.waitForFinished(600000)
        || process.exitCode() != 0)
        return {};
    std::vector<long> peaks;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        bool ok = false;
        const long kb = line.trimmed().toLong(&ok);
        if (ok)
            peaks.push_back(kb);
    }
    return peaks;
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
    const bool memoryMode = argc > 1 && qstrcmp(argv[1], "--memory-child") == 0;
    if (argc > 3 && qstrcmp(argv[1], "--memory-bare") == 0) {
        // No window and no toolkit beyond the core: the DOM alone.
        QCoreApplication app(argc, argv);
        return memoryBareChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    if (!memoryMode) {
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

    Options options;
    if (!parseOptions(QCoreApplication::arguments(), &options)) {
        std::fprintf(stderr,
                     "usage: vmr_bench [--size MB] [--dense] [--file PATH] [--repeat N] [--keystrokes N]\n"
                     "                 [--only load,save,switch,keystroke,startup,memory,xmllint]\n");
        return 2;
    }

    QTemporaryDir work;
    QString file = options.file;
    // Start-up alone needs no document; writing one just before would leave the disk
    // busy while the starts are timed.
    const bool needsFile = options.runs("load") || options.runs("save") || options.runs("switch")
        || options.runs("keystroke") || options.runs("memory") || options.runs("xmllint");
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
        || options.runs("switch") || options.runs("keystroke");
    if (needsDocument) {
        std::vector<double> loads;
        for (int i = 0; i < (options.runs("load") ? options.repeat : 1); ++i) {
            // Drop the large document first: what is measured is opening it, not closing it.
            window.load(small, false);
            settle();
            loads.push_back(timeMs([&]() {
                window.load(file, false);
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
        const double editorSave = medianMs(options.repeat, [&]() { window.save(out); });
        const bool saved = window.lastSaveOk();
        rows.push_back({QStringLiteral("save"), editorSave, QStringLiteral("ms"),
                        QStringLiteral("QDomDocument serialize"), bareSave,
                        QStringLiteral("<= 1.25x"), true, saved && editorSave <= 1.25 * bareSave});
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

            QPlainTextEdit plain;
            plain.resize(edit->size());
            plain.show();
            barePlainLoad = timeMs([&]() {
                plain.setPlainText(before);
                settle();
            });
            bareKeystroke = typeInto(&plain);
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
        rows.push_back({QStringLiteral("  the same in a bare QTextEdit"), richKeystroke,
                        QStringLiteral("ms"), QString(), 0, QString(), false, true});
        rows.push_back({QStringLiteral("  the %1 KB text fully loaded after a switch")
                            .arg(textBytes / 1024),
                        fullyLoaded, QStringLiteral("ms"), QStringLiteral("bare QPlainTextEdit"),
                        barePlainLoad, QString(), false, true});
    }
    if (needsDocument) {
        window.load(small, false);
        settle();
    }

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

    if (options.runs("memory")) {
        // Peak memory of a whole session in a fresh process, and of an empty window.
        const QString self = QCoreApplication::applicationFilePath();
        QTemporaryDir sessionHome;
        const std::vector<long> peaks =
            runMemoryChild(self, QStringLiteral("--memory-child"), file,
                           work.filePath(QStringLiteral("mem.xvm")),
                           childEnvironment(sessionHome.path()));
        const double sessionMb = peaks.size() >= 4 ? double(peaks[3]) / 1024 : 0;
        rows.push_back({QStringLiteral("peak memory (open, every viewer, save)"), sessionMb,
                        QStringLiteral("MB"), QStringLiteral("file size"), fileMb,
                        QStringLiteral("<= 12x"), true, sessionMb > 0 && sessionMb <= 12 * fileMb});
        const char *const steps[] = {"  peak with the empty window", "  peak after the load",
                                     "  peak after every viewer"};
        for (size_t i = 0; i < 3 && i < peaks.size(); ++i)
            rows.push_back({QLatin1String(steps[i]), double(peaks[i]) / 1024,
                            QStringLiteral("MB"), QStringLiteral("file size"), fileMb, QString(),
                            false, true});
        // The same file in a bare DOM, without any window: the part of the peak that
        // holding the document as a DOM costs whatever the editor does.
        const std::vector<long> bare =
            runMemoryChild(self, QStringLiteral("--memory-bare"), file,
                           work.filePath(QStringLiteral("bare.xvm")),
                           childEnvironment(sessionHome.path()));
        if (peaks.size() == 5 && peaks[4] >= 0)
            rows.push_back({QStringLiteral("  heap of the open document and tree"),
                            double(peaks[4]) / 1024, QStringLiteral("MB"),
                            QStringLiteral("file size"), fileMb, QString(), false, true});
        if (bare.size() == 4) {
            rows.push_back({QStringLiteral("  bare QDomDocument: peak, parse and save"),
                            double(bare[2]) / 1024, QStringLiteral("MB"),
                            QStringLiteral("file size"), fileMb, QString(), false, true});
            if (bare[3] >= 0)
                rows.push_back({QStringLiteral("  bare QDomDocument: heap of the document"),
                                double(bare[3]) / 1024, QStringLiteral("MB"),
                                QStringLiteral("file size"), fileMb, QString(), false, true});
        }
    }

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
