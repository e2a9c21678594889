// Finding anything in the port and checking it before it is generated, in the real window:
// Ctrl+F, the options, Enter and F3 walking the hits into the fields that hold them, replace
// with undo; the problems the pane lists against the refusals of the real generator; the
// rename of a file refused with the reason; the binary file viewer's Replace... and Extract...

#include "document/qafindpane.h"
#include "document/qaportcheck.h"
#include "document/qaproblemspane.h"
#include "document/qavmreditor.h"
#include "document/qavmreditornode.h"
#include "document/qavmreditortree.h"
#include "support/qaembeddedfile.h"
#include "support/qainstall.h"
#include "support/qascriptrunner.h"
#include "viewers/qabinfileviewer.h"

#include "mainwindowdriver.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDockWidget>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <QUndoStack>

using namespace VmrDrive;

namespace {

QByteArray example()
{
    return readFile(VmrTest::sourceDir() + u"/targets/examples/linux_gcc.xvm"_s);
}

// An embedded file "b.bin" of the three bytes "ABC", recorded as encode64.pl writes it.
QByteArray binaryFile(const QByteArray &attributes = "Size=\"3\"", const QByteArray &data = "QUJD")
{
    return "<NEWBINFILE Name=\"b.bin\"><COMMENT>Three letters</COMMENT><ENCODED_FILE Name=\"b.bin\" "
        + attributes + " Encoding=\"base64\" Sha256=\""
        + QCryptographicHash::hash("ABC", QCryptographicHash::Sha256).toHex() + "\"><DATA>" + data
        + "</DATA></ENCODED_FILE></NEWBINFILE>";
}

QByteArray withBinary(QByteArray doc, const QByteArray &file = binaryFile())
{
    return doc.replace("<NEWCMDFILE Name=\"env.sh\">", QByteArray(file + "<NEWCMDFILE Name=\"env.sh\">"));
}

// The selected text of a text field, or the current cell of an item view.
QString selectedIn(QWidget *widget)
{
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        return line->selectedText();
    if (auto *text = qobject_cast<QTextEdit *>(widget))
        return text->textCursor().selectedText();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        return plain->textCursor().selectedText();
    if (auto *view = qobject_cast<QAbstractItemView *>(widget))
        return view->currentIndex().data().toString();
    return QString();
}

QString selectedInFocus() { return selectedIn(QApplication::focusWidget()); }

// What the editor shows selected: in the field with the focus, else in the visible text
// field of the edition area that holds a selection.
QString selectedInEditor(QAVmrEditor *editor)
{
    if (editor->isAncestorOf(QApplication::focusWidget()))
        return selectedInFocus();
    for (QWidget *w : editor->findChildren<QWidget *>()) {
        if (w->isVisible() && !qobject_cast<QAbstractItemView *>(w) && !selectedIn(w).isEmpty())
            return selectedIn(w);
    }
    return QString();
}

} // namespace

class TestFindCheck : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home, m_work;
    std::unique_ptr<Install> m_install;

    QString work(const QString &name) const { return m_work->path() + u'/' + name; }
    std::unique_ptr<QAMainWindowEditor> openPort(const QByteArray &bytes)
    {
        const QString path = work(u"port.xvm"_s);
        writeFile(path, bytes);
        auto window = openWindow(path);
        if (!shown(window.get()))
            return nullptr;
        return window;
    }
    QAVmrEditorNode *select(QAMainWindowEditor *window, const QString &text)
    {
        QTreeWidget *tree = window->editor()->tree();
        const QList<QTreeWidgetItem *> found =
            tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        if (found.isEmpty())
            return nullptr;
        tree->setCurrentItem(found.first());
        return dynamic_cast<QAVmrEditorNode *>(found.first());
    }

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }
    void cleanup() { m_install.reset(); }
    void init()
    {
        m_install = std::make_unique<Install>();
        m_work = std::make_unique<QTemporaryDir>();
        m_install->writeScript(u"vmrgen.pl"_s, "exit 0;");
        clearSettings();
    }

    void searchWalk_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("options");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("firstPath");
        // A settings value, a function body, a key, a file's text, a label and a name.
        QTest::newRow("literal, any case") << u"PTHREAD"_s << QString() << -1 << QString();
        QTest::newRow("case") << u"fflush"_s << u"case"_s << -1 << QString();
        QTest::newRow("whole word") << u"gcc"_s << u"word"_s << -1 << QString();
        QTest::newRow("wildcard") << u"usr_*it"_s << u"wildcard"_s << -1 << QString();
        QTest::newRow("expression") << u"-O[0-3]"_s << u"expression"_s << -1 << QString();
        QTest::newRow("port name") << u"LinuxGcc"_s << u"case"_s << -1 << u"LinuxGcc"_s;
        QTest::newRow("file name") << u"run_tests.sh"_s << QString() << -1
                                   << u"LinuxGcc / Build / run_tests.sh"_s;
        QTest::newRow("nothing") << u"zq-nowhere"_s << QString() << 0 << QString();
        QTest::newRow("broken expression") << u"(a"_s << u"expression"_s << 0 << QString();
    }
    void searchWalk()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, options);
        QFETCH(int, count);
        QFETCH(QString, firstPath);
        auto window = openPort(example());
        QVERIFY(window);
        QAFindPane *pane = window->findPane();
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(pane->isVisible());
        QCOMPARE(QApplication::focusWidget(), pane->patternEdit());
        for (QCheckBox *box : pane->findChildren<QCheckBox *>()) {
            const QString name = box->text().remove(u'&').toLower();
            if (!options.isEmpty() && name.contains(options))
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        }
        QTest::keyClicks(pane->patternEdit(), pattern);
        QTest::keyClick(pane->patternEdit(), Qt::Key_Return);
        QTRY_VERIFY(!pane->searching());
        const QList<QASearchHit> hits = pane->hits();
        if (count >= 0)
            QCOMPARE(hits.size(), count);
        if (count == 0) {
            QVERIFY2(pane->countLabel()->text().startsWith(
                         options == u"expression" ? u"Not a valid expression"_s
                                                  : u"No match for \"%1\""_s.arg(pattern)),
                     qPrintable(pane->countLabel()->text()));
            return;
        }
        QVERIFY(!hits.isEmpty());
        QCOMPARE(pane->countLabel()->text(), u"%1 match(es)"_s.arg(hits.size()));
        QCOMPARE(pane->results()->topLevelItemCount(), hits.size());
        if (!firstPath.isEmpty())
            QCOMPARE(hits.first().path, firstPath);
        const QRegularExpression expression = qaFindExpression(pane->request());
        // Enter and F3 walk the hits in order; each one is selected where it is shown.
        for (int i = 0; i < std::min<int>(int(hits.size()), 6); ++i) {
            if (i == 0) {
                QTest::keyClick(pane->patternEdit(), Qt::Key_Return);
            } else {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
            }
            QCOMPARE(pane->currentIndex(), i);
            const QASearchHit &hit = hits.at(i);
            QAVmrEditorNode *node = window->editor()->currentNode();
            QVERIFY(node);
            const QString selected = selectedInEditor(window->editor());
            const QString where = hit.path + u": "_s + hit.line + u" -> "_s + selected;
            QVERIFY2(hit.path.startsWith(QADocumentSearch::nodePath(node->data())),
                     qPrintable(where));
            if (hit.where.kind == QAXmlChange::Attribute
                && (hit.where.field == u"Name" || hit.where.field == u"Label")) {
                // A node's own name is shown by the tree, a field's by its caption.
                if (hit.where.element == node->data())
                    QVERIFY2(expression.match(node->text(0)).hasMatch(), qPrintable(where));
            } else {
                QVERIFY2(expression.match(selected).hasMatch(), qPrintable(where));
            }
        }
        // Shift+F3 goes back, and from the first hit round to the last.
        if (hits.size() > 1) {
            for (int i = 0; i < std::min<int>(int(hits.size()), 6); ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3, Qt::ShiftModifier);
            QCOMPARE(pane->currentIndex(), int(hits.size()) - 1);
            QCOMPARE(status(window.get()), u"Search hit top, continuing at bottom"_s);
        }
        // Escape puts the pane away and goes back to the tree.
        pane->patternEdit()->setFocus();
        QTest::keyClick(pane->patternEdit(), Qt::Key_Escape);
        QVERIFY(!pane->isVisible());
        QTRY_VERIFY(window->editor()->tree()->hasFocus());
    }

    void replaceWithUndo()
    {
        auto window = openPort(example());
        QVERIFY(window);
        QAFindPane *pane = window->findPane();
        const QString before = canonical(window->document()->root());
        window->findChild<QAction *>(u"editFindInPortAction"_s)->trigger();
        QTest::keyClicks(pane->patternEdit(), u"-m64"_s);
        QTest::keyClick(pane->patternEdit(), Qt::Key_Return);
        QTRY_VERIFY(!pane->searching());
        const qsizetype found = pane->hits().size();
        QVERIFY(found >= 2);
        QTest::keyClicks(pane->replacementEdit(), u"-m32"_s);
        auto *one = pane->findChild<QPushButton *>(u"replace one"_s);
        auto *all = pane->findChild<QPushButton *>(u"replace all"_s);
        QTest::mouseClick(one, Qt::LeftButton);
        QTRY_COMPARE(pane->hits().size(), found - 1);
        QUndoStack *history = window->editor()->edits()->history();
        QTest::mouseClick(all, Qt::LeftButton);
        QTRY_COMPARE(pane->hits().size(), 0);
        QCOMPARE(pane->countLabel()->text(), u"No match for \"-m64\""_s);
        QVERIFY(canonical(window->document()->root()).count(u"-m32"_s) >= int(found));
        // Replace All is one step, the single replace another.
        window->findChild<QAction *>(u"editUndoAction"_s)->trigger();
        QTRY_COMPARE(pane->hits().size(), found - 1);
        window->findChild<QAction *>(u"editUndoAction"_s)->trigger();
        QCOMPARE(canonical(window->document()->root()), before);
        QCOMPARE(history->index(), 0);
        // Labels and keys are found, never replaced.
        pane->patternEdit()->clear();
        QTest::keyClicks(pane->patternEdit(), u"Default compiler flags"_s);
        QTest::keyClick(pane->patternEdit(), Qt::Key_Return);
        QTRY_VERIFY(!pane->searching());
        QVERIFY(!pane->hits().isEmpty());
        QVERIFY(!all->isEnabled());
        // A text typed but not searched is searched by Replace All itself; a comment
        // replaced while its node is shown is shown replaced.
        QVERIFY(select(window.get(), u"Build"_s));
        QVERIFY(select(window.get(), u"C settings"_s));
        pane->patternEdit()->clear();
        QTest::keyClicks(pane->patternEdit(), u"written in C."_s);
        pane->replacementEdit()->clear();
        QTest::keyClicks(pane->replacementEdit(), u"written in plain C."_s);
        QVERIFY(all->isEnabled());
        QTest::mouseClick(all, Qt::LeftButton);
        QCOMPARE(pane->countLabel()->text(), u"No match for \"written in C.\""_s);
        auto *comment = window->editor()->viewer()->findChild<QTextEdit *>();
        QVERIFY(comment);
        QCOMPARE(comment->toPlainText(), u"Settings used when the application is written in plain C."_s);
    }

    void generatorAgreement_data()
    {
        QTest::addColumn<QByteArray>("doc");
        QTest::addColumn<QString>("refusal");
        const QByteArray port = example();
        const auto renamed = [&port](const QByteArray &name) {
            return QByteArray(port).replace("Name=\"env.sh\"", QByteArray("Name=\"" + name + "\""));
        };
        const auto data = [&port](const QByteArray &text) {
            return withBinary(port, binaryFile("Size=\"3\"", text));
        };
        const auto badPart = [](int part) {
            return u"the binary file \"b.bin\" is damaged: invalid base64 in its part %1"_s.arg(part);
        };
        QTest::newRow("as shipped") << port << QString();
        QTest::newRow("good binary file") << withBinary(port) << QString();
        QTest::newRow("key twice")
            << QByteArray(port).replace("<INIFIELD Doc=\"ISOTHERS\"><KEY>AS</KEY>",
                                        "<INIFIELD Doc=\"ISOTHERS\"><KEY>CC</KEY>")
            << u"settings table IS_C has the key \"CC\" twice"_s;
        QTest::newRow("key with a tab")
            << QByteArray(port).replace("<KEY>AS</KEY>", "<KEY>A&#9;S</KEY>")
            << u"settings table IS_C has a key that contains a control character"_s;
        QTest::newRow("empty file name")
            << renamed("") << u"the ASCII file has an empty name"_s;
        QTest::newRow("slash") << renamed("a/b")
                               << u"the ASCII file \"a/b\" contains a directory separator"_s;
        QTest::newRow("backslash") << renamed("a\\b")
                                   << u"the ASCII file \"a\\b\" contains a directory separator"_s;
        QTest::newRow("absolute") << renamed("/tmp/x")
                                  << u"the ASCII file \"/tmp/x\" is an absolute path"_s;
        QTest::newRow("dots") << renamed("..") << u"the ASCII file \"..\" contains \"..\""_s;
        QTest::newRow("control") << renamed("a&#9;b")
                                 << u"the ASCII file \"a\tb\" contains a control character"_s;
        QTest::newRow("written by the generator")
            << renamed("Port.INI")
            << u"the ASCII file \"Port.INI\" has the name of a file that the generator writes"_s;
        QTest::newRow("repeated") << renamed("RUN_TESTS.sh")
                                  << u"the file \"run_tests.sh\" would be written twice"_s;
        QTest::newRow("second port record")
            << QByteArray(port).replace("<NEWCMDFILE Name=\"env.sh\">",
                                        "<NEWCMDFILE Name=\"x.ini\"><COMMENT/><VALUE>NAME=x"
                                        "</VALUE></NEWCMDFILE><NEWCMDFILE Name=\"env.sh\">")
            << u"the file \"x.ini\" is an .ini file with a NAME= line, which the editor would "
               "take for a second port"_s;
        QTest::newRow("port name on two lines")
            << QByteArray(port).replace("VMR Name=\"LinuxGcc\"", "VMR Name=\"Linux&#10;Gcc\"")
            << u"the port name spans several lines"_s;
        QTest::newRow("field without a name")
            << QByteArray(port).replace("<ITEM><TEXT_MACRO Name=\"USR_EXTERN\"",
                                        "<ITEM><TEXT_MACRO Name=\"--\"")
            << u"a TEXT_MACRO field in COMPILER_SPECIFICS/LINKAGE has no name"_s;
        QTest::newRow("binary data missing")
            << withBinary(port, "<NEWBINFILE Name=\"b.bin\"><COMMENT/></NEWBINFILE>")
            << u"the binary file \"b.bin\" holds no encoded data"_s;
        QTest::newRow("binary size") << withBinary(port, binaryFile("Size=\"4\""))
                                     << u"the binary file \"b.bin\" is damaged: 3 bytes instead of 4"_s;
        QTest::newRow("binary digest") << data("QUJE")
                                       << u"the binary file \"b.bin\" is damaged: its digest does not match"_s;
        QTest::newRow("binary base64") << data("QU!D") << badPart(1);
        // The data is read as the generator reads it: blanks of every kind left out, each
        // part whole on its own, "=" only at a part's end.
        QTest::newRow("binary data with blanks") << data("Q U\nJ\r\n&#160;&#x2028;D\t") << QString();
        QTest::newRow("binary padding inside") << data("QQ==QUJD") << badPart(1);
        QTest::newRow("binary second part") << data("QUJD</DATA><DATA>QUJ") << badPart(2);
        QTest::newRow("binary parts decoded apart") << data("QQ==</DATA><DATA>Qk") << badPart(2);
        QTest::newRow("binary bytes beyond Latin-1") << data("QU&#x4A0;D") << badPart(1);
        QTest::newRow("binary encoding")
            << withBinary(port, binaryFile("Size=\"3\"").replace("base64", "uu"))
            << u"the binary file \"b.bin\" uses the unknown encoding uu"_s;
    }
    // Every refusal of the real generator is among the pane's errors, in its words; a port
    // the generator takes shows no error.
    void generatorAgreement()
    {
        QFETCH(QByteArray, doc);
        QFETCH(QString, refusal);
        const QString path = work(u"port.xvm"_s);
        QVERIFY(writeFile(path, doc));
        QDomDocument dom;
        QVERIFY(dom.setContent(doc));
        QAPortCheck check;
        QStringList errors;
        for (const QAProblem &problem : check.check(dom.documentElement())) {
            if (problem.severity == QAProblem::Error)
                errors << problem.message;
        }
        QProcess perl;
        const QString scripts = VmrTest::sourceDir() + u"/lib/scripts"_s;
        QDir().mkpath(work(u"out"_s));
        perl.start(u"perl"_s, {u"-I"_s + scripts, scripts + u"/vmrgen.pl"_s, path, work(u"out"_s)});
        QVERIFY(perl.waitForFinished(60000));
        const QStringList lines = QString::fromUtf8(perl.readAllStandardError())
                                      .split(u'\n', Qt::SkipEmptyParts);
        if (refusal.isEmpty()) {
            QCOMPARE(errors, QStringList());
            QVERIFY2(perl.exitCode() == 0, qPrintable(lines.join(u'\n')));
            return;
        }
        QCOMPARE(perl.exitCode(), 1);
        QCOMPARE(lines.value(lines.size() - 1), u"vmrgen.pl: "_s + refusal);
        QVERIFY2(errors.contains(refusal), qPrintable(errors.join(u'\n')));
    }

    void problemsPane()
    {
        // Another port of the target directory already carries the name.
        QVERIFY(writeFile(m_install->targets() + u"/other/port.ini"_s, "NAME=\"C++ LinuxGcc\"\n"));
        auto window = openPort(withBinary(example()));
        QVERIFY(window);
        QAProblemsPane *pane = window->problemsPane();
        pane->checkNow();
        QCOMPARE(pane->errorCount(), 0);
        QCOMPARE(pane->problems().size(), 1);
        QVERIFY(pane->problems().first().message.startsWith(
            u"the port name \"C++ LinuxGcc\" is already used by the port in"_s));
        // A key typed twice is listed shortly after, and activating it shows the row.
        QAVmrEditorNode *c = select(window.get(), u"C settings"_s);
        QVERIFY(c);
        QDomElement row = c->data().firstChildElement().firstChildElement(u"INIFIELD"_s);
        QAXmlEdits *edits = window->editor()->edits();
        edits->setChildText(row.nextSiblingElement(u"INIFIELD"_s), u"KEY"_s, u"CC"_s);
        QTRY_COMPARE(pane->errorCount(), 1);
        QCOMPARE(window->findChild<QLabel *>(u"problems count"_s)->text(),
                 u"1 error(s), 1 warning(s)"_s);
        select(window.get(), u"Build"_s);
        QTreeWidgetItem *error = pane->list()->topLevelItem(0);
        QVERIFY(error->text(0).contains(u"twice"_s));
        QVERIFY(error->text(1).startsWith(u"LinuxGcc / Settings / C settings"_s));
        pane->list()->setCurrentItem(error);
        QTest::keyClick(pane->list(), Qt::Key_Return);
        QCOMPARE(window->editor()->currentNode(), c);
        QCOMPARE(selectedInFocus(), u"CC"_s);
        // Generation with an error is refused with the list shown; nothing is run.
        // The save asks first about the name the other port uses.
        ModalScript refused({answer(u"Yes"_s), answer(u"OK"_s)});
        window->fileSave();
        VMR_ANSWERED(refused);
        QVERIFY(refused.texts().value(1).startsWith(u"The port is not generated: it has 1 error"_s));
        QVERIFY(m_install->runsOf(u"vmrgen.pl"_s).isEmpty());
        // A warning asks once (the port name was asked about by the save itself).
        window->editor()->edits()->history()->undo();
        QTRY_COMPARE(pane->errorCount(), 0);
        QDomElement emptyKey = row.cloneNode().toElement();
        emptyKey.firstChildElement(u"KEY"_s).firstChild().toText().setData(QString());
        edits->insertElement(row.parentNode().toElement(), emptyKey, row);
        ModalScript asked({answer(u"Yes"_s), answer(u"Yes"_s), answer(u"Yes"_s)});
        window->fileSave();
        QTRY_COMPARE(m_install->runsOf(u"vmrgen.pl"_s).size(), 1);
        QTRY_VERIFY(!window->scriptRun() || !window->scriptRun()->isRunning());
        window->fileSave();
        QTRY_COMPARE(m_install->runsOf(u"vmrgen.pl"_s).size(), 2);
        VMR_ANSWERED(asked);
        QCOMPARE(asked.texts().size(), 3);
        QVERIFY(asked.texts().value(1).startsWith(u"The port has 1 warning(s)"_s));
        QVERIFY(asked.texts().value(1).contains(u"Generate it anyway?"_s));
    }

    void renameRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("parent") << u"../x"_s
                                << u"the ASCII file \"../x\" contains a directory separator"_s;
        QTest::newRow("repeated") << u"run_tests.sh"_s
                                  << u"the file \"run_tests.sh\" would be written twice"_s;
        QTest::newRow("generated")
            << u"build.pl"_s
            << u"the ASCII file \"build.pl\" has the name of a file that the generator writes"_s;
        QTest::newRow("accepted") << u"setup.sh"_s << QString();
    }
    void renameRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        auto window = openPort(example());
        QVERIFY(window);
        QAVmrEditorTree *tree = window->editor()->tree();
        QAVmrEditorNode *file = select(window.get(), u"env.sh"_s);
        QVERIFY(file);
        const QDomElement element = file->data();
        auto menu = VmrTest::chooseFromNextMenu(u"&Rename"_s);
        VmrTest::rightClick(tree->viewport(), tree->visualItemRect(file).center());
        QTRY_VERIFY(tree->isEditing(file));
        QLineEdit *editor = nullptr;
        QTRY_VERIFY((editor = tree->viewport()->findChild<QLineEdit *>()));
        editor->selectAll();
        QTest::keyClicks(editor, name);
        ModalScript told(reason.isEmpty() ? QList<Handler>() : QList<Handler>{answer(u"OK"_s)});
        QTest::keyClick(editor, Qt::Key_Return);
        if (reason.isEmpty()) {
            QTRY_COMPARE(element.attribute(u"Name"_s), name);
            QTest::qWait(50);
            VMR_ANSWERED(told);
            return;
        }
        QTRY_COMPARE(told.texts().size(), 1);
        VMR_ANSWERED(told);
        QCOMPARE(told.texts().first(), u"The file keeps its name: %1."_s.arg(reason));
        QCOMPARE(element.attribute(u"Name"_s), u"env.sh"_s);
        QCOMPARE(file->text(0), u"env.sh"_s);
        QCOMPARE(window->editor()->edits()->history()->count(), 0);
    }

    void binaryFileViewer()
    {
        auto window = openPort(withBinary(example()));
        QVERIFY(window);
        QVERIFY(select(window.get(), u"b.bin"_s));
        auto *viewer = window->findChild<QABinFileViewer *>();
        QVERIFY(viewer);
        QCOMPARE(viewer->sizeLabel()->text(), u"3 bytes"_s);
        QCOMPARE(viewer->digestLabel()->text(),
                 QString::fromLatin1(QCryptographicHash::hash("ABC", QCryptographicHash::Sha256).toHex()));
        // Extract... writes the decoded bytes where the user says.
        const QString out = work(u"extracted.bin"_s);
        ModalScript extract({choosePath(out)});
        QTest::mouseClick(viewer->findChild<QPushButton *>(u"extract binary file"_s), Qt::LeftButton);
        VMR_ANSWERED(extract);
        QCOMPARE(readFile(out), QByteArray("ABC"));
        // Replace... encodes another file through the real script, as one undoable step.
        // A file of a megabyte: its size and digest are read beside the form.
        QByteArray other(1000000, 'x');
        for (int i = 0; i < other.size(); i += 7)
            other[i] = char(i);
        QVERIFY(writeFile(work(u"other.bin"_s), other));
        ModalScript replace({choosePath(work(u"other.bin"_s))});
        QTest::mouseClick(viewer->findChild<QPushButton *>(u"replace binary file"_s), Qt::LeftButton);
        VMR_ANSWERED(replace);
        QTRY_COMPARE(viewer->sizeLabel()->text(), u"%1 bytes"_s.arg(QLocale().toString(1000000)));
        const QString otherDigest =
            QString::fromLatin1(QCryptographicHash::hash(other, QCryptographicHash::Sha256).toHex());
        QCOMPARE(viewer->digestLabel()->text(), otherDigest);
        QByteArray bytes;
        QDomElement file = window->editor()->currentNode()->data();
        QVERIFY(QAEmbeddedFile::decode(file, &bytes));
        QCOMPARE(bytes, other);
        QCOMPARE(file.attribute(u"Name"_s), u"b.bin"_s);
        window->problemsPane()->checkNow();
        QCOMPARE(window->problemsPane()->errorCount(), 0);
        window->findChild<QAction *>(u"editUndoAction"_s)->trigger();
        file = window->editor()->currentNode()->data();
        QVERIFY(QAEmbeddedFile::decode(file, &bytes));
        QCOMPARE(bytes, QByteArray("ABC"));
        QTRY_COMPARE(window->findChild<QABinFileViewer *>()->sizeLabel()->text(), u"3 bytes"_s);
        // Redone, the form shows at once and says that it reads; leaving the node before
        // the reading ends, or changing the data again, drops that reading.
        QAction *redo = window->findChild<QAction *>(u"editRedoAction"_s);
        redo->trigger();
        viewer = window->findChild<QABinFileViewer *>();
        QVERIFY(viewer->reading());
        QCOMPARE(viewer->sizeLabel()->text(), u"reading the data..."_s);
        QTRY_COMPARE(viewer->digestLabel()->text(), otherDigest);
        QVERIFY(!viewer->reading());
        window->findChild<QAction *>(u"editUndoAction"_s)->trigger();
        redo->trigger();
        window->findChild<QAction *>(u"editUndoAction"_s)->trigger();
        QCOMPARE(viewer->sizeLabel()->text(), u"3 bytes"_s);
        redo->trigger();
        QVERIFY(select(window.get(), u"env.sh"_s));
        QTest::qWait(300);
        QVERIFY(select(window.get(), u"b.bin"_s));
        QTRY_COMPARE(window->findChild<QABinFileViewer *>()->digestLabel()->text(), otherDigest);
    }

    void treeFilter()
    {
        auto window = openPort(example());
        QVERIFY(window);
        QLineEdit *filter = window->editor()->treeFilter();
        QTest::mouseClick(filter, Qt::LeftButton);
        QTRY_VERIFY(filter->hasFocus());
        QTest::keyClicks(filter, u"run_t"_s);
        QTreeWidget *tree = window->editor()->tree();
        QStringList visible;
        for (QTreeWidgetItemIterator it(tree, QTreeWidgetItemIterator::NotHidden); *it; ++it)
            visible << (*it)->text(0);
        QCOMPARE(visible, QStringList({u"LinuxGcc"_s, u"Build"_s, u"run_tests.sh"_s}));
        // Down goes into the tree, on the node found; Escape in the box clears it.
        QTest::keyClick(filter, Qt::Key_Down);
        QCOMPARE(tree->currentItem()->text(0), u"run_tests.sh"_s);
        QTRY_VERIFY(tree->hasFocus());
        QTest::mouseClick(filter, Qt::LeftButton);
        QTRY_VERIFY(filter->hasFocus());
        QTest::keyClick(filter, Qt::Key_Escape);
        QCOMPARE(filter->text(), QString());
        int all = 0;
        for (QTreeWidgetItemIterator it(tree, QTreeWidgetItemIterator::NotHidden); *it; ++it)
            ++all;
        QVERIFY(all > 20);
    }
};

QTEST_MAIN(TestFindCheck)
#include "tst_findcheck.moc"
