// The French user interface: the translation source is complete and faithful, the
// compiled file that the installation ships says the same, and the main window, the
// texts it composes, the document tree and the choice pages of the shipped documents
// speak French.

#include "app/qavmraboutdialog.h"
#include "document/qavmreditor.h"
#include "document/qavmreditornode.h"
#include "document/qavmreditortree.h"

#include "mainwindowdriver.h"

#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTranslator>
#include <QTreeWidgetItemIterator>
#include <QtTest>

using namespace VmrDrive;

namespace {

struct Message
{
    QString source, translation, unfinished;
    QByteArray context, comment;
};

QString key(const QString &context, const QString &source, const QString &comment = {})
{
    return context + u'|' + source + u'|' + comment;
}

// The messages of a .ts file by context, source and comment; a second one of a key is
// kept under a key of its own.
QHash<QString, Message> readTs(const QString &path)
{
    QDomDocument ts;
    ts.setContent(readFile(path));
    QHash<QString, Message> messages;
    const QDomNodeList all = ts.elementsByTagName(u"message"_s);
    for (int i = 0; i < all.size(); ++i) {
        const QDomElement m = all.item(i).toElement();
        const auto text = [&m](const QString &tag) { return m.firstChildElement(tag).text(); };
        const QString context = m.parentNode().firstChildElement(u"name"_s).text();
        const Message message{text(u"source"_s), text(u"translation"_s),
                              m.firstChildElement(u"translation"_s).attribute(u"type"_s),
                              context.toUtf8(), text(u"comment"_s).toUtf8()};
        const QString k = key(context, message.source, text(u"comment"_s));
        messages.insert(messages.contains(k) ? k + u"(twice)"_s : k, message);
    }
    return messages;
}

// What a translation must keep of its source: placeholders, markup, line breaks, how
// many accelerators and "&&".
QString shape(const QString &text)
{
    static const QRegularExpression kept(u"%L?\\d+|<[^>]+>|\\n|&&|&[\\p{L}\\p{N}]"_s);
    QStringList found;
    for (auto it = kept.globalMatch(text); it.hasNext();) {
        const QString piece = it.next().captured();
        found << (piece.size() == 2 && piece != u"&&"_s && piece[0] == u'&' ? u"&x"_s : piece);
    }
    std::sort(found.begin(), found.end());
    return found.join(u' ');
}

} // namespace

class TstTranslation : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    QHash<QString, Message> m_messages;
    QTranslator m_translator;

    QString label(const QString &english) const
    {
        return m_messages.value(key(u"XVM Labels"_s, english)).translation;
    }

private slots:
    void initTestCase()
    {
        m_home = VmrTest::privateHome();
        m_messages = readTs(VmrTest::sourceDir() + u"/translations/vmreditor_fr.ts"_s);
        QVERIFY(m_messages.size() > 100);
        QVERIFY(m_translator.load(VmrTest::orbiskDir() + u"/lib/locale/vmreditor_fr.qm"_s));
        QCoreApplication::installTranslator(&m_translator);
    }

    // Complete and faithful, and the installation's compiled file, which is what the
    // program reads, says the same.
    void everyMessageIsTranslatedFaithfully()
    {
        QStringList faults;
        // The program glues names to the blanks at either end.
        static const QRegularExpression ends(u"^(\\s*).*?(\\s*)$"_s,
                                             QRegularExpression::DotMatchesEverythingOption);
        for (auto it = m_messages.cbegin(); it != m_messages.cend(); ++it) {
            const Message &m = it.value();
            const auto blanks = ends.match(m.source);
            const QString shown = QCoreApplication::translate(
                m.context.constData(), m.source.toUtf8().constData(),
                m.comment.isEmpty() ? nullptr : m.comment.constData());
            if (!m.unfinished.isEmpty() || m.translation.trimmed().isEmpty()
                || it.key().endsWith(u"(twice)"_s) || shape(m.source) != shape(m.translation)
                || !m.translation.startsWith(blanks.captured(1))
                || !m.translation.endsWith(blanks.captured(2)) || shown != m.translation)
                faults << it.key() + u" -> "_s + m.translation + u", shown "_s + shown;
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void everySourceTextIsInTheFile()
    {
        QString lupdate = QLibraryInfo::path(QLibraryInfo::BinariesPath) + u"/lupdate"_s;
        if (!QFileInfo(lupdate).isExecutable())
            lupdate = QStandardPaths::findExecutable(u"lupdate"_s);
        if (lupdate.isEmpty())
            QSKIP("lupdate is not installed");
        QTemporaryDir scratch;
        const QString fresh = scratch.filePath(u"fresh.ts"_s), source = VmrTest::sourceDir();
        QStringList arguments{u"-no-obsolete"_s, u"-locations"_s, u"none"_s, u"-I"_s, source};
        for (const char *layer : {"app", "support", "document", "viewers"})
            arguments << source + u'/' + QLatin1String(layer);
        QCOMPARE(QProcess::execute(lupdate, arguments << u"-ts"_s << fresh), 0);
        QStringList missing;
        const QHash<QString, Message> extracted = readTs(fresh);
        QVERIFY(extracted.size() > 100);
        for (auto it = extracted.cbegin(); it != extracted.cend(); ++it) {
            if (!m_messages.contains(it.key()))
                missing << it.key();
        }
        // Run tools/update-translations and translate what is missing.
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));
    }

    // The window, its menus with unique accelerators, the dialogs, and the texts that the
    // program composes at run time.
    void windowAndDialogsSpeakFrench()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"port.xvm"_s), title = QAEdition::applicationTitle();
        QVERIFY(writeFile(path, readFile(VmrTest::templatePath(u"templatec.xvm"_s))));
        auto window = openWindow(path);
        QStringList titles, faults;
        for (QAction *entry : window->menuBar()->actions())
            titles << (entry->menu() ? entry->menu()->title() : QString());
        QCOMPARE(titles, QStringList({u"&Fichier"_s, u"É&dition"_s, QString(), u"&Aide"_s}));
        QCOMPARE(window->findChild<QMenu *>(u"web menu"_s)->title(),
                 QAEdition::productName() + u" sur le Web"_s);
        QCOMPARE(window->windowTitle(), u"port.xvm[*] (Lecture seule) - "_s + title);
        // The start-up load is reported before the status bar is set up; a later one shows.
        window->document()->load(path, false);
        QCOMPARE(status(window.get()), u"Fichier chargé."_s);
        window->show();
        window->editor()->setModified(true);
        ModalScript close({[](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); }});
        QVERIFY(!window->close());
        VMR_ANSWERED(close);
        QCOMPARE(close.texts(), QStringList{u"Enregistrer les modifications de port.xvm?"_s});
        window->editor()->setModified(false);

        // Each menu of the bar, with its submenus.
        std::function<void(QWidget *)> accelerators = [&](QWidget *menu) {
            QHash<QChar, QString> taken;
            for (QAction *a : menu->actions()) {
                const QString text = a->menu() ? a->menu()->title() : a->text();
                static const QRegularExpression marked(u"&([\\p{L}\\p{N}])"_s);
                for (auto it = marked.globalMatch(QString(text).remove(u"&&"_s)); it.hasNext();) {
                    const QChar k = it.next().captured(1).at(0).toLower();
                    if (taken.contains(k))
                        faults << u"\"%1\" and \"%2\" share &%3"_s.arg(text, taken[k], k);
                    taken.insert(k, text);
                }
                if (a->menu())
                    accelerators(a->menu());
            }
        };
        accelerators(window->menuBar());

        QAVmrAboutDialog about(VmrTest::program());
        QAVmrErrorDialog error(u"vmrgen.pl: no port"_s);
        QCOMPARE(about.windowTitle(), u"À propos de "_s + title);
        QCOMPARE(error.windowTitle(), u"Erreur "_s + title);
        // The script's own words stay as they are.
        QCOMPARE(error.message(), u"vmrgen.pl: no port"_s);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void documentsSpeakFrench_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &dir : {u"/targets/xml/"_s, u"/targets/examples/"_s}) {
            for (const QString &name : QDir(VmrTest::sourceDir() + dir).entryList({u"*.xvm"_s}))
                QTest::newRow(qPrintable(name)) << VmrTest::sourceDir() + dir + name;
        }
    }
    void documentsSpeakFrench()
    {
        // Every label, and the names of the fields in the contexts that translate them,
        // have their French entry.
        QFETCH(QString, path);
        const QHash<QString, QString> nameContexts = {
            {u"TEXT_MACRO"_s, u"QATextMacro"_s}, {u"TYPEADA"_s, u"QATextMacro"_s},
            {u"CONSTANTADA"_s, u"QATextMacro"_s}, {u"CONSTANTSTRINGADA"_s, u"QATextMacro"_s},
            {u"BINARY_MACRO"_s, u"QABinaryMacro"_s}, {u"RENAMEADA"_s, u"QABinaryMacro"_s},
            {u"OPTIONAL_MACRO"_s, u"QAOptionnalMacro"_s}};
        QAVmrEditor editor(VmrTest::orbiskDir() + u"/targets"_s);
        QDomElement root = editor.getRootElement(path);
        QVERIFY2(!root.isNull() && editor.buildTree(root), qPrintable(editor.lastError()));
        QStringList faults;
        QList<QDomElement> pending{root};
        while (!pending.isEmpty()) {
            const QDomElement e = pending.takeFirst();
            for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
                pending << c;
            const QString english = e.attribute(u"Label"_s), name = e.attribute(u"Name"_s);
            const QString context = nameContexts.value(e.tagName());
            if (!english.isEmpty() && !m_messages.contains(key(u"XVM Labels"_s, english)))
                faults << u"label \""_s + english + u'"';
            if (!context.isEmpty() && !name.isEmpty() && !m_messages.contains(key(context, name)))
                faults << u"%1 \"%2\""_s.arg(context, name);
        }

        // Every node shows its label in French, and most labels do change.
        int labelled = 0, changed = 0;
        for (QTreeWidgetItemIterator it(editor.tree()); *it; ++it) {
            const QString english =
                static_cast<QAVmrEditorNode *>(*it)->data().attribute(u"Label"_s);
            labelled += !english.isEmpty();
            changed += !english.isEmpty() && label(english) != english;
            if (!english.isEmpty() && (*it)->text(0) != label(english))
                faults << u"\"%1\" shows \"%2\""_s.arg(english, (*it)->text(0));
        }
        QVERIFY(labelled > 10 && changed > labelled / 2);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }
};

QTEST_MAIN(TstTranslation)
#include "tst_translation.moc"
