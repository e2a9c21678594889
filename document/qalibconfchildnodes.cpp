#include "document/qalibconfchildnodes.h"


#include <QHash>
#include <QStringList>

namespace {

QStringList tags(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *tag : list)
        result.append(QLatin1String(tag));
    return result;
}

// In the Java and JVMPI tables, 0 is a free text and 1 a choice.
enum CustomKind { CustomFreeText = 0, CustomChoice = 1 };

bool buildCustomChildren(QTreeWidgetItem *under, const QDomElement &element,
                         const QHash<QString, int> &table);

} // namespace

bool QALCCommentNode::buildChild(QAVmrEditorNode *parent, QDomElement &element)
{
    static const QStringList subSections =
        tags({"SYSTEM_TESTING", "OBSERVATIONS", "COMMENT_PAGE"});
    static const QStringList choices =
        tags({"EXIT", "DATE", "INIT", "MEMCPY", "CLOCK", "THREADS", "GENERAL_IO", "ERROR_IO",
              "GENERAL_HEAP", "LOWLEVEL_MEMLIB", "MEMLIB_EXTENSION", "CHOICE_PAGE"});
    static const QStringList items =
        tags({"PREPROCESSING_SPECIFICS", "LINKAGE", "CPP_SPECIFICS", "DATA_TYPES", "SPRINTF",
              "MAIN_RETURN", "STRING_SUPPORT", "FLOAT_SUPPORT", "SETTINGS_IO", "ITEM_PAGE"});
    static const QStringList functions =
        tags({"PRIV_INIT", "PRIV_CLOCK", "PRIV_OPEN", "PRIV_WRITELN", "PRIV_CLOSE", "FCT_PAGE"});
    static const QStringList freeTexts = tags({"FREE_TEXT_WITH_PRIV_IO_ADB",
                                               "FREE_TEXT_TOP_ADD_PRIV_IO_ADB",
                                               "FREE_TEXT_ADD_PRIV_IO_ADB"});

    QTreeWidgetItem *under = buildParent(parent);
    QTreeWidgetItem *last = nullptr;
    bool result = true;
    for (QDomNode n = element.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (!n.isElement())
            continue;
        QDomElement child = n.toElement();
        const QString tag = child.tagName();
        if (subSections.contains(tag)) {
            auto *node = appendNode<QALCComment2Node>(under, last, child);
            result = node->buildChild(node, child);
        } else if (choices.contains(tag)) {
            appendNode<QALCChoiceNode>(under, last, child);
        } else if (items.contains(tag)) {
            appendNode<QALCItemNode>(under, last, child);
        } else if (functions.contains(tag)) {
            appendNode<QALCFctNode>(under, last, child);
        } else if (freeTexts.contains(tag)) {
            appendNode<QALCFreeTextNode>(under, last, child);
        }
    }
    return result;
}

bool QALCComment2Node::buildChild(QAVmrEditorNode *parent, QDomElement &element)
{
    static const QStringList choices =
        tags({"MEMCPY", "GETHOSTNAME", "KRNMAIN", "RDV", "ATEXIT", "GETENV", "GETPID", "SIGNAL",
              "LONGJMP", "CHOICE_PAGE"});
    static const QStringList items = tags({"DYNTRACK", "INITSUPPORTED", "ITEM_PAGE"});

    QTreeWidgetItem *under = buildParent(parent);
    QTreeWidgetItem *last = nullptr;
    for (QDomNode n = element.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (!n.isElement())
            continue;
        const QString tag = n.nodeName();
        if (choices.contains(tag))
            appendNode<QALCChoiceNode>(under, last, n.toElement());
        else if (items.contains(tag))
            appendNode<QALCItemNode>(under, last, n.toElement());
    }
    return true;
}

namespace {

bool buildCustomChildren(QTreeWidgetItem *under, const QDomElement &element,
                         const QHash<QString, int> &table)
{
    QTreeWidgetItem *last = nullptr;
    bool result = true;
    for (QDomNode n = element.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (!n.isElement())
            continue;
        const auto kind = table.constFind(n.nodeName());
        if (kind == table.constEnd())
            continue;
        QDomElement child = n.toElement();
        QAVmrEditorNode *node = nullptr;
        if (*kind == CustomFreeText)
            node = new QALCFreeTextNode(under, last, child);
        else
            node = new QALCChoiceNode(under, last, child);
        last = node;
        result = node->buildChild(node, child);
    }
    return result;
}

QHash<QString, int> customTable(std::initializer_list<const char *> freeTexts,
                                std::initializer_list<const char *> choices)
{
    QHash<QString, int> table;
    for (const char *tag : freeTexts)
        table.insert(QLatin1String(tag), CustomFreeText);
    for (const char *tag : choices)
        table.insert(QLatin1String(tag), CustomChoice);
    return table;
}

} // namespace

bool QAJavaCustom::buildChild(QAVmrEditorNode *parent, QDomElement &element)
{
    const QHash<QString, int> table = customTable(
        {"JAVA_IMPORTS"}, {"JAVA_EARLYINIT", "JAVA_THREADS", "JAVA_DATARETRIEVAL", "JAVA_CLOCK"});
    return buildCustomChildren(buildParent(parent), element, table);
}

bool QAJvmpiCustom::buildChild(QAVmrEditorNode *parent, QDomElement &element)
{
    const QHash<QString, int> table = customTable(
        {"FREE_TEXT_BEFORE_FOR_VMR", "FREE_TEXT_AFTER_FOR_VMR", "BUILD_JVMPI"},
        {"JVMPI_HEAP", "JVMPI_IO", "JVMPI_ERROR", "JVMPI_STRING", "JVMPI_DATE_IN_MILLISEC",
         "JVMPI_SOCKET"});
    return buildCustomChildren(buildParent(parent), element, table);
}

