#pragma once

// Set-up shared by the viewer tests: small documents, a viewer shown below its
// documentation pane, and context-menu commands.

#include "support/qaxmledits.h"
#include "testutil.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrviewer.h"

#include <QDomDocument>
#include <QInputDialog>
#include <QMenu>
#include <QScrollBar>
#include <QVBoxLayout>

namespace VmrView {

inline QDomDocument parse(const QString &xml)
{
    QDomDocument doc;
    if (!doc.setContent(xml))
        qFatal("bad test document: %s", qPrintable(xml));
    return doc;
}

/**
 * How many changes the viewers have written since the count was last set to 0: a form
 * shown on its own writes through the edits of documents that no editor holds.
 */
inline int &changesWritten()
{
    static int count = 0;
    static const bool counting = (QObject::connect(QAXmlEdits::of(QDomDocument()),
                                                   &QAXmlEdits::changed, qApp, [] { ++count; }),
                                  true);
    Q_UNUSED(counting);
    return count;
}

inline QString xmlOf(const QDomNode &node)
{
    QString xml;
    QTextStream stream(&xml);
    node.save(stream, -1);
    return xml;
}

inline QString textOf(const char *tag, const QDomElement &e, int depth = 1)
{
    return QAVmrViewer::childText(QLatin1String(tag), e, depth);
}

// A viewer shown in a fresh window below a documentation pane, its anchors far apart.
template<typename Viewer>
Viewer *openViewer(std::unique_ptr<QWidget> &window, QDomElement element,
                   const QStringList &anchors = {})
{
    window = std::make_unique<QWidget>();
    window->resize(700, 700);
    auto *browser = new QAVmrDocBrowser(window.get());
    const QString filler = QStringLiteral("<p>text</p>").repeated(60);
    QString html = filler;
    for (const QString &anchor : anchors)
        html += QStringLiteral("<p><a name=\"%1\">%1</a></p>").arg(anchor) + filler;
    browser->setHtml(html);
    auto *viewer = new Viewer(element, window.get(), browser);
    auto *layout = new QVBoxLayout(window.get());
    layout->addWidget(browser);
    layout->addWidget(viewer);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    viewer->showPage();
    return viewer;
}

template<typename Edit> bool runMenuCommand(Edit *edit, const QString &text)
{
    std::unique_ptr<QMenu> menu(edit->createPopupMenu(QPoint(1, 1)));
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action->trigger(), true;
    }
    return false;
}

} // namespace VmrView
