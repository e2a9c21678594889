#include "document/qaportcheck.h"

#include "document/qadocumentsearch.h"
#include "support/qaembeddedfile.h"
#include "support/qaxmlcharacters.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace {

// Every name the generator writes itself; an embedded file never takes one.
const char *const kReserved[] = {"port.ini",     "settings.pl",  "build.pl",     "vmrconf.h",
                                 "vmrconf.c",    "vmrinstr.h",   "vmr_conf.ads", "vmr_conf.adb",
                                 "VmrConf.java", "vmrjvmpi.c",   "build_jvmpi.sh", "libconf.pl",
                                 "parser"};

const char *const kSettingsTables[] = {"IS_C", "IS_CPP", "IS_A", "IS_A83", "IS_JAVA", "IS_ALL"};
const char *const kFields[] = {"TEXT_MACRO",  "TYPEADA",   "CONSTANTADA",   "CONSTANTSTRINGADA",
                               "BINARY_MACRO", "RENAMEADA", "OPTIONAL_MACRO"};
const char *const kSheetFields[] = {"TEXT_MACRO", "BINARY_MACRO", "OPTIONAL_MACRO"};

template<std::size_t N>
bool listed(const char *const (&list)[N], const QString &tag)
{
    for (const char *entry : list)
        if (tag == QLatin1String(entry))
            return true;
    return false;
}

// What the generator makes of the parts of the runtime configuration, by tag, as the tree
// shows them: the kinds that hold fields and those that hold further parts.
enum class Kind { None, Text, Section, Subsection, Item, Choice, Function, Java, Jvmpi };

Kind confKind(const QString &tag)
{
    static const QHash<QString, Kind> kinds = [] {
        QHash<QString, Kind> k;
        for (const char *t : {"FREE_TEXT_BEFORE_FOR_INSTR", "FREE_TEXT_BEFORE_FOR_VMR",
                              "FREE_TEXT_BEFORE_FOR_INSTR_AND_GEN", "FREE_TEXT_AFTER_FOR_VMR",
                              "FREE_TEXT_WITH_PRIV_IO_ADS", "FREE_TEXT_ADD_PRIV_IO_ADS"})
            k.insert(QLatin1String(t), Kind::Text);
        for (const char *t : {"COMPILER_SPECIFICS", "APPLICATION_SPECIFICS", "TESTING_SPECIFICS",
                              "IO", "HEAP", "CLOCKING", "THREADING", "FUNCTIONS"})
            k.insert(QLatin1String(t), Kind::Section);
        for (const char *t : {"RESTRICTIONS", "TYPES", "CONSTANTS", "COMPONENTTESTING"})
            k.insert(QLatin1String(t), Kind::Item);
        for (const char *t : {"CLOCK", "THREADS", "FILTERS"})
            k.insert(QLatin1String(t), Kind::Choice);
        k.insert(QStringLiteral("CUSTOMJAVA"), Kind::Java);
        k.insert(QStringLiteral("CUSTOMJVMPI"), Kind::Jvmpi);
        return k;
    }();
    return kinds.value(tag, Kind::None);
}

Kind sectionKind(const QString &tag)
{
    static const QHash<QString, Kind> kinds = [] {
        QHash<QString, Kind> k;
        for (const char *t : {"SYSTEM_TESTING", "OBSERVATIONS", "COMMENT_PAGE"})
            k.insert(QLatin1String(t), Kind::Subsection);
        for (const char *t : {"EXIT", "DATE", "INIT", "MEMCPY", "CLOCK", "THREADS", "GENERAL_IO",
                              "ERROR_IO", "GENERAL_HEAP", "LOWLEVEL_MEMLIB", "MEMLIB_EXTENSION",
                              "CHOICE_PAGE"})
            k.insert(QLatin1String(t), Kind::Choice);
        for (const char *t : {"PREPROCESSING_SPECIFICS", "LINKAGE", "CPP_SPECIFICS", "DATA_TYPES",
                              "SPRINTF", "MAIN_RETURN", "STRING_SUPPORT", "FLOAT_SUPPORT",
                              "SETTINGS_IO", "ITEM_PAGE"})
            k.insert(QLatin1String(t), Kind::Item);
        return k;
    }();
    return kinds.value(tag, Kind::None);
}

Kind subsectionKind(const QString &tag)
{
    static const QHash<QString, Kind> kinds = [] {
        QHash<QString, Kind> k;
        for (const char *t : {"MEMCPY", "GETHOSTNAME", "KRNMAIN", "RDV", "ATEXIT", "GETENV",
                              "GETPID", "SIGNAL", "LONGJMP", "CHOICE_PAGE"})
            k.insert(QLatin1String(t), Kind::Choice);
        for (const char *t : {"DYNTRACK", "INITSUPPORTED", "ITEM_PAGE"})
            k.insert(QLatin1String(t), Kind::Item);
        return k;
    }();
    return kinds.value(tag, Kind::None);
}

Kind javaKind(const QString &tag)
{
    for (const char *t : {"JAVA_EARLYINIT", "JAVA_THREADS", "JAVA_DATARETRIEVAL", "JAVA_CLOCK"})
        if (tag == QLatin1String(t))
            return Kind::Choice;
    return Kind::None;
}

Kind jvmpiKind(const QString &tag)
{
    for (const char *t : {"JVMPI_HEAP", "JVMPI_IO", "JVMPI_ERROR", "JVMPI_STRING",
                          "JVMPI_DATE_IN_MILLISEC", "JVMPI_SOCKET"})
        if (tag == QLatin1String(t))
            return Kind::Choice;
    return Kind::None;
}

// The generator's identifier of a name: letters, digits and single underscores.
QString ident(QString text)
{
    static const QRegularExpression others(QStringLiteral("[^A-Za-z0-9_]+"));
    static const QRegularExpression runs(QStringLiteral("_+"));
    static const QRegularExpression ends(QStringLiteral("^_+|_+$"));
    text.replace(others, QStringLiteral("_"));
    text.replace(runs, QStringLiteral("_"));
    text.replace(ends, QString());
    if (!text.isEmpty() && text.at(0).unicode() >= '0' && text.at(0).unicode() <= '9')
        text.prepend(QLatin1Char('N'));
    return text;
}

// Whether ident leaves text as it is, worked out without its expressions: a port has
// thousands of field names, nearly all identifiers already.
bool isIdent(QStringView text)
{
    if (text.isEmpty() || text.front() == u'_' || text.back() == u'_'
        || (text.front() >= u'0' && text.front() <= u'9'))
        return false;
    QChar last;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool alnum = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9');
        if (!alnum && (u != '_' || last == u'_'))
            return false;
        last = c;
    }
    return true;
}

bool hasControl(QStringView text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    return false;
}

QString attr(const QDomElement &e, const char *name)
{
    return e.attribute(QLatin1String(name));
}

QString childText(const QDomElement &e, const char *tag)
{
    return e.firstChildElement(QLatin1String(tag)).text();
}

QAProblem problem(QAProblem::Severity severity, const QString &message, const QAXmlChange &where)
{
    QAProblem p;
    p.severity = severity;
    p.message = QAPortCheck::oneLine(message);
    p.where = where;
    p.path = QADocumentSearch::nodePath(where.element);
    return p;
}

// A field's holder gives it a name when the field's own has no letter or digit.
void checkFields(const QDomElement &holderParent, bool sheet, const QString &where,
                 QList<QAProblem> *problems)
{
    for (QDomElement holder = holderParent.firstChildElement(); !holder.isNull();
         holder = holder.nextSiblingElement()) {
        const QDomNode first = holder.firstChild();
        if (!first.isElement())
            continue;
        const QDomElement field = first.toElement();
        const QString kind = field.tagName();
        if (sheet ? !listed(kSheetFields, kind) : !listed(kFields, kind))
            continue;
        const QString name = attr(field, "Name");
        if (isIdent(name))
            continue;
        const QString holderTag = holder.tagName();
        if (holderTag != QLatin1String("ITEM") && isIdent(holderTag))
            continue;
        if (ident(name).isEmpty())
            problems->append(problem(QAProblem::Error,
                                     QAPortCheck::tr("a %1 field in %2 has no name").arg(kind, where),
                                     QAXmlChange::attribute(field, QStringLiteral("Name"))));
    }
}

void checkChoice(const QDomElement &element, const QString &where, QList<QAProblem> *problems)
{
    const QDomElement choice = element.firstChildElement(QStringLiteral("CHOICE"));
    if (choice.isNull())
        return;
    // The chosen variant as the form shows it: the last whose text is the value, else the
    // first; its sheets are generated only when it makes them apply.
    const QString value = choice.attribute(QStringLiteral("Value"));
    bool any = false;
    bool sensitive = false;
    bool found = false;
    QList<QDomElement> items;
    for (QDomElement c = choice.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
        if (c.tagName() == QLatin1String("CHOICEDATA")) {
            const QDomNode first = c.firstChild();
            if (!first.isText())
                continue;
            const bool on = attr(c, "Sensitive") == QLatin1String("1");
            if (!any)
                sensitive = on;
            any = true;
            if (choice.hasAttribute(QStringLiteral("Value")) && first.toText().data() == value) {
                sensitive = on;
                found = true;
            }
        } else if (c.tagName() == QLatin1String("ONGLET")) {
            const QDomNode first = c.firstChild();
            if (first.isElement() && first.nodeName() == QLatin1String("ITEM"))
                items.append(c);
        }
    }
    Q_UNUSED(found);
    if (!any || !sensitive)
        return;
    for (const QDomElement &sheet : items)
        checkFields(sheet, true, where, problems);
}

void checkConfNodes(const QDomElement &parent, Kind (*table)(const QString &), const QString &path,
                    QList<QAProblem> *problems)
{
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        const Kind kind = table(e.tagName());
        if (kind == Kind::None)
            continue;
        const QString where = path.isEmpty() ? e.tagName() : path + QLatin1Char('/') + e.tagName();
        switch (kind) {
        case Kind::Item:
            checkFields(e, false, where, problems);
            break;
        case Kind::Choice:
            checkChoice(e, where, problems);
            break;
        case Kind::Section:
            checkConfNodes(e, sectionKind, where, problems);
            break;
        case Kind::Subsection:
            checkConfNodes(e, subsectionKind, where, problems);
            break;
        case Kind::Java:
            checkConfNodes(e, javaKind, where, problems);
            break;
        case Kind::Jvmpi:
            checkConfNodes(e, jvmpiKind, where, problems);
            break;
        default:
            break;
        }
    }
}

} // namespace

QString QAPortCheck::oneLine(const QString &message)
{
    // As the script's last line: blanks at the end go, a line break becomes "; ".
    static const QRegularExpression breaks(QStringLiteral("[ \\t\\r\\f\\v]*\\n[ \\t\\r\\n\\f\\v]*"));
    QString line = message;
    while (!line.isEmpty() && QStringLiteral(" \t\r\n\f\v").contains(line.back()))
        line.chop(1);
    line.replace(breaks, QStringLiteral("; "));
    return line;
}

void QAPortCheck::setTarget(const QString &targetDir, const QString &ownDirName)
{
    m_targetDir = targetDir;
    m_ownDirName = ownDirName;
}

QList<QAProblem> QAPortCheck::check(const QDomElement &root)
{
    QList<QAProblem> problems;
    if (root.isNull())
        return problems;
    checkPortName(root, &problems);
    checkSettings(root, &problems);
    checkConfiguration(root, &problems);
    checkFiles(root, &problems);
    checkCharacters(root, &problems);
    return problems;
}

void QAPortCheck::checkPortName(const QDomElement &root, QList<QAProblem> *problems)
{
    const QAXmlChange name = QAXmlChange::attribute(root, QStringLiteral("Name"));
    const QString prefix = attr(root, "type") == QLatin1String("CCPP") ? QStringLiteral("C++ ")
                                                                       : QStringLiteral("Ada ");
    const QString port = prefix + attr(root, "Name");
    if (port.contains(QLatin1Char('\n')) || port.contains(QLatin1Char('\r')))
        problems->append(problem(QAProblem::Error, tr("the port name spans several lines"), name));

    // The ports of the target directory are read again when it or the name changes.
    if (m_targetDir.isEmpty())
        return;
    if (m_scannedDir != m_targetDir || m_scannedName != port) {
        m_scannedDir = m_targetDir;
        m_scannedName = port;
        m_ports = portsIn(m_targetDir);
    }
    for (const PortEntry &entry : std::as_const(m_ports)) {
        if (entry.portName == port && entry.dirName != m_ownDirName) {
            problems->append(problem(
                QAProblem::Warning,
                tr("the port name \"%1\" is already used by the port in \"%2\" of the target "
                   "directory")
                    .arg(port, QDir::toNativeSeparators(QDir(m_targetDir).filePath(entry.dirName))),
                name));
            break;
        }
    }
}

void QAPortCheck::checkSettings(const QDomElement &root, QList<QAProblem> *problems)
{
    const QDomElement section = root.firstChildElement(QStringLiteral("IS"));
    for (QDomElement table = section.firstChildElement(); !table.isNull();
         table = table.nextSiblingElement()) {
        const QString tag = table.tagName();
        if (!listed(kSettingsTables, tag))
            continue;
        QSet<QString> seen;
        const QDomElement container = table.firstChildElement();
        for (QDomElement row = container.firstChildElement(); !row.isNull();
             row = row.nextSiblingElement()) {
            if (row.tagName() == QLatin1String("COMMENT"))
                continue;
            const bool keyed = !row.firstChildElement(QStringLiteral("KEY")).isNull();
            const QString key = keyed ? childText(row, "KEY") : row.tagName();
            const QAXmlChange where = QAXmlChange::text(row, QStringLiteral("KEY"));
            if (key.isEmpty()) {
                problems->append(problem(
                    QAProblem::Warning,
                    tr("settings table %1 has a row without a key, which the port leaves out")
                        .arg(tag),
                    where));
                continue;
            }
            if (hasControl(key)) {
                problems->append(problem(
                    QAProblem::Error,
                    tr("settings table %1 has a key that contains a control character").arg(tag),
                    where));
            } else if (seen.contains(key)) {
                problems->append(problem(QAProblem::Error,
                                         tr("settings table %1 has the key \"%2\" twice")
                                             .arg(tag, key),
                                         where));
            }
            seen.insert(key);
        }
    }
}

void QAPortCheck::checkConfiguration(const QDomElement &root, QList<QAProblem> *problems)
{
    const QDomElement section = root.firstChildElement(QStringLiteral("LIBCONF"));
    QDomElement conf;
    for (const char *tag : {"LIBCONFC", "LIBCONFA", "LIBCONFJAVA"}) {
        conf = section.firstChildElement(QLatin1String(tag));
        if (!conf.isNull())
            break;
    }
    if (!conf.isNull())
        checkConfNodes(conf, confKind, QString(), problems);
}

QString QAPortCheck::badFileName(const QString &name, const QString &what)
{
    static const QRegularExpression drive(QStringLiteral("\\A[A-Za-z]:"));
    if (name.isEmpty())
        return tr("%1 has an empty name").arg(what);
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\'))
        || drive.match(name).hasMatch())
        return tr("%1 \"%2\" is an absolute path").arg(what, name);
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return tr("%1 \"%2\" contains a directory separator").arg(what, name);
    if (name.contains(QLatin1String("..")))
        return tr("%1 \"%2\" contains \"..\"").arg(what, name);
    if (name == QLatin1String("."))
        return tr("%1 \"%2\" is not a file name").arg(what, name);
    if (hasControl(name))
        return tr("%1 \"%2\" contains a control character").arg(what, name);
    return QString();
}

static QString fileWhat(const QDomElement &file)
{
    return file.tagName() == QLatin1String("NEWCMDFILE") ? QAPortCheck::tr("the ASCII file")
                                                         : QAPortCheck::tr("the binary file");
}

static bool isReserved(const QString &name)
{
    for (const char *reserved : kReserved)
        if (name.compare(QLatin1String(reserved), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QList<QAPortCheck::PortEntry> QAPortCheck::portsIn(const QString &dir)
{
    QList<PortEntry> ports;
    // Each port lives in its own sub-directory; the directory itself and its parent are
    // no ports.
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        if (!entry.isReadable())
            continue;
        const QFileInfoList inis = QDir(entry.absoluteFilePath())
                                       .entryInfoList({QStringLiteral("*.ini")}, QDir::Files,
                                                      QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo &ini : inis) {
            QFile file(ini.absoluteFilePath());
            if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
                continue;
            while (!file.atEnd()) {
                QString line = QString::fromLocal8Bit(file.readLine());
                if (!line.contains(QLatin1String("NAME=")))
                    continue;
                line.remove(QLatin1String("NAME=")).remove(QLatin1Char('"'));
                ports.append({entry.fileName(), line.trimmed()});
            }
        }
    }
    return ports;
}

QString QAPortCheck::fileNameProblem(const QDomElement &file, const QString &name)
{
    const QString what = fileWhat(file);
    QString bad = badFileName(name, what);
    if (!bad.isEmpty())
        return oneLine(bad);
    if (isReserved(name))
        return tr("%1 \"%2\" has the name of a file that the generator writes").arg(what, name);
    const QDomNode section = file.parentNode();
    for (QDomElement other = section.firstChildElement(); !other.isNull();
         other = other.nextSiblingElement()) {
        if (other == file
            || (other.tagName() != QLatin1String("NEWCMDFILE")
                && other.tagName() != QLatin1String("NEWBINFILE")))
            continue;
        if (attr(other, "Name").compare(name, Qt::CaseInsensitive) == 0)
            return tr("the file \"%1\" would be written twice").arg(name);
    }
    return QString();
}

void QAPortCheck::checkFiles(const QDomElement &root, QList<QAProblem> *problems)
{
    const QDomElement section = root.firstChildElement(QStringLiteral("BUILD"));
    QSet<QString> written;
    for (QDomElement file = section.firstChildElement(); !file.isNull();
         file = file.nextSiblingElement()) {
        const bool text = file.tagName() == QLatin1String("NEWCMDFILE");
        if (!text && file.tagName() != QLatin1String("NEWBINFILE"))
            continue;
        const QString name = attr(file, "Name");
        const QString what = fileWhat(file);
        const QAXmlChange nameField = QAXmlChange::attribute(file, QStringLiteral("Name"));
        const QString bad = badFileName(name, what);
        if (!bad.isEmpty()) {
            problems->append(problem(QAProblem::Error, bad, nameField));
            continue;
        }
        if (isReserved(name)) {
            problems->append(problem(
                QAProblem::Error,
                tr("%1 \"%2\" has the name of a file that the generator writes").arg(what, name),
                nameField));
            continue;
        }
        const QString iniRecord =
            tr("the file \"%1\" is an .ini file with a NAME= line, which the editor would take "
               "for a second port")
                .arg(name);
        const bool ini = name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive);
        if (text && ini && childText(file, "VALUE").contains(QLatin1String("NAME="))) {
            problems->append(
                problem(QAProblem::Error, iniRecord, QAXmlChange::text(file, QStringLiteral("VALUE"))));
            continue;
        }
        const QString key = name.toLower();
        if (written.contains(key)) {
            problems->append(problem(QAProblem::Error,
                                     tr("the file \"%1\" would be written twice").arg(name),
                                     nameField));
            continue;
        }
        written.insert(key);
        if (text)
            continue;
        // The encoded data: the first element after the comment.
        const QDomElement encoded = QAEmbeddedFile::encodedData(file);
        if (encoded.tagName() != QLatin1String("ENCODED_FILE")) {
            problems->append(problem(
                QAProblem::Error, tr("the binary file \"%1\" holds no encoded data").arg(name),
                nameField));
            continue;
        }
        const BinaryResult result = decodeBinary(encoded, name);
        if (!result.problem.isEmpty())
            problems->append(problem(QAProblem::Error, result.problem, nameField));
        else if (ini && result.iniRecord)
            problems->append(problem(QAProblem::Error, iniRecord, nameField));
    }
}

QAPortCheck::BinaryResult QAPortCheck::decodeBinary(const QDomElement &encoded,
                                                    const QString &name)
{
    // The same data is decoded once; its attributes and length tell a changed one.
    qsizetype length = 0;
    QList<QDomElement> parts;
    for (QDomElement data = encoded.firstChildElement(QStringLiteral("DATA")); !data.isNull();
         data = data.nextSiblingElement(QStringLiteral("DATA"))) {
        parts.append(data);
        for (QDomNode n = data.firstChild(); !n.isNull(); n = n.nextSibling())
            if (n.isCharacterData())
                length += n.toCharacterData().length();
    }
    const QString stamp = name + QLatin1Char('|') + QString::number(length) + QLatin1Char('|')
        + attr(encoded, "Size") + QLatin1Char('|') + attr(encoded, "Sha256") + QLatin1Char('|')
        + attr(encoded, "Encoding") + QLatin1Char('|')
        + QString::number(encoded.hasAttribute(QStringLiteral("Encoding")));
    const void *key = QAXmlEdits::identity(encoded);
    auto cached = m_binaries.constFind(key);
    if (cached != m_binaries.constEnd() && cached->size == stamp)
        return *cached;

    BinaryResult result;
    result.size = stamp;
    const QString encoding = encoded.hasAttribute(QStringLiteral("Encoding"))
        ? attr(encoded, "Encoding")
        : QStringLiteral("base64");
    if (encoding != QLatin1String("base64")) {
        result.problem = oneLine(
            tr("the binary file \"%1\" uses the unknown encoding %2").arg(name, encoding));
    } else {
        // The digest is worked out only against one that the data records: most of the
        // time of decoding a large file goes into it.
        const bool hasDigest = encoded.hasAttribute(QStringLiteral("Sha256"));
        QCryptographicHash sha(QCryptographicHash::Sha256);
        qint64 size = 0;
        int part = 0;
        const bool ini = name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive);
        QByteArray bytes;
        for (const QDomElement &data : std::as_const(parts)) {
            ++part;
            if (!QAEmbeddedFile::decodePart(data, &bytes)) {
                result.problem =
                    tr("the binary file \"%1\" is damaged: invalid base64 in its part %2")
                        .arg(name)
                        .arg(part);
                break;
            }
            if (hasDigest)
                sha.addData(bytes);
            size += bytes.size();
            if (ini && !result.iniRecord && bytes.contains("NAME="))
                result.iniRecord = true;
        }
        if (result.problem.isEmpty()) {
            if (encoded.hasAttribute(QStringLiteral("Size"))
                && attr(encoded, "Size") != QString::number(size))
                result.problem = tr("the binary file \"%1\" is damaged: %2 bytes instead of %3")
                                     .arg(name)
                                     .arg(size)
                                     .arg(attr(encoded, "Size"));
            else if (hasDigest
                     && attr(encoded, "Sha256").toLower()
                         != QString::fromLatin1(sha.result().toHex()))
                result.problem =
                    tr("the binary file \"%1\" is damaged: its digest does not match").arg(name);
        }
    }
    m_binaries.insert(key, result);
    return result;
}

void QAPortCheck::checkCharacters(const QDomElement &root, QList<QAProblem> *problems)
{
    // A save refuses such a document; the place is named so that it can be mended first.
    // The place is worked out only for a text that holds such a character.
    const auto report = [problems](QStringView text, auto where) {
        const qsizetype at = QAXmlCharacters::firstForbidden(text);
        if (at < 0)
            return;
        problems->append(problem(QAProblem::Error,
                                 tr("the character %1 cannot be written into an XML file")
                                     .arg(QAXmlCharacters::describe(text, at)),
                                 where()));
    };
    const QString data = QStringLiteral("DATA");
    QDomNode node = root;
    while (!node.isNull()) {
        bool into = true;
        if (node.isElement()) {
            const QDomElement e = node.toElement();
            if (e.hasAttributes()) {
                const QDomNamedNodeMap attributes = e.attributes();
                for (int i = 0; i < attributes.count(); ++i) {
                    const QDomAttr a = attributes.item(i).toAttr();
                    report(a.value(), [&]() { return QAXmlChange::attribute(e, a.name()); });
                }
            }
            // An embedded file's data is base64, which its own check reads.
            into = e.tagName() != data;
        } else if (node.isCharacterData()) {
            report(node.toCharacterData().data(), [&]() {
                const QDomElement owner = node.parentNode().toElement();
                const QDomElement up = owner.parentNode().toElement();
                return up.isNull() ? QAXmlChange::attribute(owner, QString())
                                   : QAXmlChange::text(up, owner.tagName());
            });
        }
        // Depth first, in document order.
        QDomNode next = into ? node.firstChild() : QDomNode();
        while (next.isNull() && !node.isNull() && node != root) {
            next = node.nextSibling();
            if (next.isNull())
                node = node.parentNode();
        }
        node = next;
    }
}
