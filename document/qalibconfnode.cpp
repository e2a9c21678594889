#include "document/qalibconfnode.h"

#include "document/qalibconfchildnodes.h"

#include <QHash>

namespace {

enum WidgetType {
    FreeText = 0,
    Section = 1,
    Item = 2,
    Choice = 3,
    JavaCustom = 4,
    JvmpiCustom = 5,
};

QHash<QString, int> widgetTypes()
{
    QHash<QString, int> types;
    for (const char *tag : {"FREE_TEXT_BEFORE_FOR_INSTR", "FREE_TEXT_BEFORE_FOR_VMR",
                            "FREE_TEXT_BEFORE_FOR_INSTR_AND_GEN", "FREE_TEXT_AFTER_FOR_VMR",
                            "FREE_TEXT_WITH_PRIV_IO_ADS", "FREE_TEXT_ADD_PRIV_IO_ADS"})
        types.insert(QLatin1String(tag), FreeText);
    for (const char *tag : {"COMPILER_SPECIFICS", "APPLICATION_SPECIFICS", "TESTING_SPECIFICS",
                            "IO", "HEAP", "CLOCKING", "THREADING", "FUNCTIONS"})
        types.insert(QLatin1String(tag), Section);
    for (const char *tag : {"RESTRICTIONS", "TYPES", "CONSTANTS", "COMPONENTTESTING"})
        types.insert(QLatin1String(tag), Item);
    for (const char *tag : {"CLOCK", "THREADS", "FILTERS"})
        types.insert(QLatin1String(tag), Choice);
    types.insert(QStringLiteral("CUSTOMJAVA"), JavaCustom);
    types.insert(QStringLiteral("CUSTOMJVMPI"), JvmpiCustom);
    return types;
}

} // namespace

QDomElement QALibConfNode::configurationElement(const QDomElement &libconf)
{
    for (const char *tag : {"LIBCONFC", "LIBCONFA", "LIBCONFJAVA"}) {
        const QDomElement found = libconf.firstChildElement(QLatin1String(tag));
        if (!found.isNull())
            return found;
    }
    return QDomElement();
}

bool QALibConfNode::buildChild(QAVmrEditorNode *parent, QDomElement &element)
{
    const QHash<QString, int> types = widgetTypes();
    QTreeWidgetItem *under = buildParent(parent);
    QTreeWidgetItem *last = nullptr;
    bool result = true;
    const QDomElement configuration = configurationElement(element);
    for (QDomNode n = configuration.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (!n.isElement())
            continue;
        const auto type = types.constFind(n.nodeName());
        if (type == types.constEnd())
            continue;
        QDomElement child = n.toElement();
        QAVmrEditorNode *node = nullptr;
        switch (*type) {
        case FreeText:
            node = appendNode<QALCFreeTextNode>(under, last, child);
            break;
        case Section:
            node = appendNode<QALCCommentNode>(under, last, child);
            break;
        case Item:
            node = appendNode<QALCItemNode>(under, last, child);
            break;
        case Choice:
            node = appendNode<QALCChoiceNode>(under, last, child);
            break;
        case JavaCustom:
            node = appendNode<QAJavaCustom>(under, last, child);
            break;
        case JvmpiCustom:
            node = appendNode<QAJvmpiCustom>(under, last, child);
            break;
        default:
            qWarning("QALibConfNode::buildChild():ERROR: unhandled widget_type %d ...", *type);
            continue;
        }
        result = node->buildChild(node, child);
    }
    return result;
}

