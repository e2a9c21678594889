#pragma once

#include "document/qavmreditornode.h"

#include <QStringList>

/** The "BUILD" section: the build steps and the files written into the port. */
class QABuildNode : public QAFormNode
{
public:
    QABuildNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, CommentForm) {}

    QMenu *createPopupMenu() override;
    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;

    /** The tags of the build steps, each a Perl function. */
    static const QStringList &stepTags();
    /** Whether an element of the section with this tag has a node: a step or a file. */
    static bool isNodeTag(const QString &tag);
    /** A node for an element of the section, made last under section; none for others. */
    static QAVmrEditorNode *makeNode(QTreeWidgetItem *section, const QDomElement &element);
};

/** One build step ("ASSEMBLER", "LINK", ...), a Perl function. */
class QAPerlNode : public QAFormNode
{
public:
    QAPerlNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, FunctionForm) {}

    QMenu *createPopupMenu() override;
};

/** A file that the generator writes into the port, named in place by its "Name". */
class QAFileNode : public QAFormNode
{
public:
    QAFileNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element,
               Form form, int rtti)
        : QAFormNode(parent, after, element, form, rtti) {}

    QMenu *createPopupMenu() override;
};

/** An ASCII file ("NEWCMDFILE"), edited as text. */
class QACmdFileNode : public QAFileNode
{
public:
    QACmdFileNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFileNode(parent, after, element, FreeTextForm, AsciiFileRtti) {}
};

/** A binary file ("NEWBINFILE") embedded in the document as encoded text. */
class QABinFileNode : public QAFileNode
{
public:
    QABinFileNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFileNode(parent, after, element, BinaryFileForm, BinaryFileRtti) {}
};
