#pragma once

#include "document/qavmreditornode.h"

#include <QStringList>

/** The "BUILD" section: the build steps and the files written into the port. */
class QABuildNode : public QAVmrEditorNode
{
public:
    QABuildNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QABuildNode() override;

    QMenu *createPopupMenu() override;
    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;

    /** The tags of the build steps, each a Perl function. */
    static const QStringList &stepTags();

private:
    QStringList m_steps;
};

/** One build step ("ASSEMBLER", "LINK", ...), a Perl function. */
class QAPerlNode : public QAVmrEditorNode
{
public:
    QAPerlNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QAPerlNode() override;

    QMenu *createPopupMenu() override;
    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};

/** An ASCII file ("NEWCMDFILE") that the generator writes into the port. */
class QACmdFileNode : public QAVmrEditorNode
{
public:
    QACmdFileNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QACmdFileNode() override;

    void startRename(int column) override;
    void okRename(int column) override;
    QMenu *createPopupMenu() override;
    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};

/** A binary file ("NEWBINFILE") embedded in the document as encoded text. */
class QABinFileNode : public QAVmrEditorNode
{
public:
    QABinFileNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QABinFileNode() override;

    void startRename(int column) override;
    void okRename(int column) override;
    QMenu *createPopupMenu() override;
    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};
