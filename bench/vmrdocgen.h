#pragma once

// Generator of large, realistic port descriptions: settings tables with many rows, build
// functions, ASCII files with long texts, an embedded binary file, library configuration
// sections full of item, choice and function pages, and parser texts. The output is
// deterministic for a given scale, so two runs measure the same document.
//
// Header-only so that the benchmarks, the fuzzer's corpus writer and the robustness
// tests share one generator without a library of their own.

#include <QBuffer>
#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cstdint>

namespace VmrDocGen {

/** How much of each kind of content a generated document holds. */
struct Scale
{
    int settingsRows = 40;       // user keys over the six settings tables
    int asciiFiles = 4;          // NEWCMDFILE elements besides the large one
    int asciiFileBytes = 4000;   // text of each of those
    int freeTextBytes = 20000;   // text of the one large ASCII file "large.txt"
    qint64 binaryBytes = 8000;   // size of the embedded binary files before encoding
    int binaryFiles = 1;         // how many embedded binary files share binaryBytes
    int sections = 2;            // library configuration sections of pages
    int pagesPerSection = 10;    // item, choice and function pages in each
    int largestItemFields = 40;  // fields of the one large item page
    int largestChoiceTabs = 12;  // tabs of the one large choice page
    int parserTextBytes = 4000;  // text of each parser option node
    int smallFiles = 0;          // short NEWCMDFILE elements after the others
    int smallFileBytes = 8;      // text of each of those
    int markupTextBytes = 0;     // text of one ASCII file "markup.txt", none when 0
    bool markupHeavy = true;     // that text full of '<', '>' and '&', else letters only

    /**
     * A port as large ones are: tens of thousands of nodes and multi-megabyte embedded
     * files. About a twentieth of the bytes are settings rows, a quarter library
     * configuration pages, a fifth ASCII files (one of them, from
     * 8 MB up, a megabyte long), and the rest mostly embedded binary files of at most
     * 6 MB each.
     */
    static Scale forBytes(qint64 bytes)
    {
        const qint64 b = std::max<qint64>(bytes, 20000);
        Scale s;
        s.freeTextBytes = int(std::min<qint64>(1024 * 1024, b / 8));
        // Measured sizes: a settings row takes 220 bytes, a page 675, and escaping makes
        // source text a sixth longer.
        s.settingsRows = int(b / 20 / 220);
        s.asciiFileBytes = 64 * 1024;
        s.asciiFiles = int(std::max<qint64>(1, (b / 6 - s.freeTextBytes) / s.asciiFileBytes));
        const qint64 pages = std::max<qint64>(8, b / 4 / 675);
        s.sections = int(std::clamp<qint64>(pages / 1500, 2, 16));
        s.pagesPerSection = int(pages / s.sections);
        s.largestItemFields = int(std::clamp<qint64>(b / 100000, 20, 200));
        s.parserTextBytes = int(std::max<qint64>(1000, b / 40 / 4));
        // Base64 and its line breaks make 4 bytes of 3, and a little more.
        const qint64 binaryText = b - b / 20 - b / 5 - b / 4 - b / 40 - b / 50;
        s.binaryBytes = std::max<qint64>(1000, binaryText * 3 / 4 * 76 / 77);
        s.binaryFiles = int(std::max<qint64>(1, (s.binaryBytes + 6 * 1024 * 1024 - 1)
                                                     / (6 * 1024 * 1024)));
        return s;
    }

    /**
     * Many small siblings: a small port whose build section holds files short ASCII
     * files (about 90 bytes each in the file), the shape where a cost per sibling shows.
     */
    static Scale smallSiblings(int files)
    {
        Scale s = forBytes(20000);
        s.smallFiles = files;
        s.smallFileBytes = 8;
        return s;
    }

    /**
     * A port of many files, as ports grown over years are: about 1 330 ASCII files per
     * megabyte (30 000 in 23 MB, 60 000 in 45 MB) holding three fifths of the bytes, the
     * rest made as forBytes makes a port.
     */
    static Scale withManyFiles(qint64 bytes)
    {
        const qint64 b = std::max<qint64>(bytes, 100000);
        Scale s = forBytes(b * 2 / 5);
        s.smallFiles = int(std::max<qint64>(1, b * 1333 / (1024 * 1024)));
        // Each file element around its text takes about 80 bytes.
        s.smallFileBytes = int(std::max<qint64>(8, b * 3 / 5 / s.smallFiles - 80));
        return s;
    }

    /**
     * A small port with one ASCII file "markup.txt" of bytes characters: source full of
     * '<', '>' and '&' when markup, else the same length of plain words, which saving
     * writes unchanged.
     */
    static Scale withText(qint64 bytes, bool markup)
    {
        Scale s = forBytes(20000);
        s.markupTextBytes = int(bytes);
        s.markupHeavy = markup;
        return s;
    }

    /**
     * The worst case for memory: almost nothing but small elements. A quarter of the
     * bytes are settings rows, a third pages, the rest ASCII files and one binary file.
     */
    static Scale denseForBytes(qint64 bytes)
    {
        const qint64 b = std::max<qint64>(bytes, 20000);
        Scale s = forBytes(b);
        s.settingsRows = int(b / 4 / 220);
        const qint64 pages = std::max<qint64>(8, b * 35 / 100 / 675);
        s.sections = int(std::clamp<qint64>(pages / 1500, 2, 16));
        s.pagesPerSection = int(pages / s.sections);
        s.binaryBytes = b / 10;
        s.binaryFiles = 1;
        return s;
    }
};

namespace Detail {

/** A small deterministic generator: the same scale always gives the same bytes. */
class Random
{
public:
    explicit Random(uint64_t seed) : m_state(seed * 2862933555777941757ULL + 3037000493ULL) {}
    uint32_t next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return uint32_t(m_state >> 33);
    }
    int below(int n) { return n > 0 ? int(next() % uint32_t(n)) : 0; }

private:
    uint64_t m_state;
};

inline const char *word(Random &random)
{
    static const char *const words[] = {
        "the",      "runtime",  "target",   "buffer",  "results", "clock",    "thread",
        "heap",     "compiler", "linker",   "flags",   "include", "library",  "symbol",
        "section",  "memory",   "trace",    "output",  "file",    "written",  "before",
        "after",    "value",    "default",  "port",    "test",    "agent",    "signal",
        "when",     "every",    "static",   "const",   "size_t",  "int",      "return",
        "pointer",  "address",  "options",  "line",    "host",    "embedded", "board",
        "cross",    "toolchain", "debugger", "monitor", "serial", "probe",    "flash"};
    return words[random.below(int(sizeof words / sizeof *words))];
}

/** Prose of about length characters, broken into lines of at most width. */
inline QString prose(Random &random, int length, int width = 78)
{
    QString text;
    text.reserve(length + 16);
    int column = 0;
    while (text.size() < length) {
        const QLatin1String w(word(random));
        if (column > 0 && column + 1 + w.size() > width) {
            text += QLatin1Char('\n');
            column = 0;
        } else if (column > 0) {
            text += QLatin1Char(' ');
            ++column;
        }
        text += w;
        column += w.size();
    }
    return text;
}

/** C-like source of about length characters, with the characters XML must escape. */
inline QString code(Random &random, int length)
{
    QString text;
    text.reserve(length + 128);
    int n = 0;
    while (text.size() < length) {
        switch (random.below(6)) {
        case 0:
            text += QStringLiteral("    /* ") + prose(random, 50, 1000) + QStringLiteral(" */\n");
            break;
        case 1:
            text += QStringLiteral("    if (size > %1 && buffer[%2] != '\\0') {\n        "
                                   "count += size << 2;\n    }\n")
                        .arg(random.below(4096))
                        .arg(n);
            break;
        case 2:
            text += QStringLiteral("    fprintf(stderr, \"%s: %d & %u\\n\", \"%1\", %2, %3u);\n")
                        .arg(QLatin1String(word(random)))
                        .arg(n)
                        .arg(random.below(100000));
            break;
        case 3:
            text += QStringLiteral("#include <%1_%2.h>\n").arg(QLatin1String(word(random))).arg(n);
            break;
        default:
            text += QStringLiteral("    usr_%1_%2(&context, %3);\n")
                        .arg(QLatin1String(word(random)))
                        .arg(n)
                        .arg(random.below(1000));
            break;
        }
        ++n;
    }
    return text;
}

/** Templates and shifts of about length characters: a '<', '>' or '&' every few. */
inline QString markup(Random &random, int length)
{
    QString text;
    text.reserve(length + 64);
    while (text.size() < length) {
        switch (random.below(4)) {
        case 0:
            text += QStringLiteral("std::map<int, std::vector<%1>> m;\n")
                        .arg(QLatin1String(word(random)));
            break;
        case 1:
            text += QStringLiteral("if (a < b && b > c) x <<= y >> 2 & mask;\n");
            break;
        case 2:
            text += QStringLiteral("<%1 attr=\"&amp;\">&lt;&gt;</%1>\n")
                        .arg(QLatin1String(word(random)));
            break;
        default:
            text += QStringLiteral("echo a&&b >>out <in 2>&1 &\n");
            break;
        }
    }
    text.truncate(length);
    return text;
}

class Writer
{
public:
    Writer(QIODevice *device, const Scale &scale) : m_xml(device), m_scale(scale), m_random(20)
    {
        m_xml.setAutoFormatting(false);
    }

    void document()
    {
        m_xml.writeStartDocument();
        m_xml.writeCharacters(QStringLiteral("\n"));
        m_xml.writeDTD(QStringLiteral("<!DOCTYPE VMR SYSTEM \"vmr.dtd\">"));
        m_xml.writeCharacters(QStringLiteral("\n"));
        m_xml.writeStartElement(QStringLiteral("VMR"));
        m_xml.writeAttribute(QStringLiteral("Name"), QStringLiteral("LargePort"));
        m_xml.writeAttribute(QStringLiteral("type"), QStringLiteral("CCPP"));
        m_xml.writeAttribute(QStringLiteral("Version"), QStringLiteral("V2009"));
        m_xml.writeAttribute(QStringLiteral("read_only"), QStringLiteral("no"));
        m_xml.writeAttribute(QStringLiteral("Doc"), QStringLiteral("VMR"));
        comment(prose(m_random, 300));
        settings();
        build();
        libconf();
        parser();
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

private:
    void start(const char *tag, const QString &label = QString(), const char *doc = nullptr)
    {
        m_xml.writeStartElement(QLatin1String(tag));
        if (!label.isNull())
            m_xml.writeAttribute(QStringLiteral("Label"), label);
        if (doc)
            m_xml.writeAttribute(QStringLiteral("Doc"), QLatin1String(doc));
    }
    void end() { m_xml.writeEndElement(); }
    void text(const char *tag, const QString &value)
    {
        m_xml.writeTextElement(QLatin1String(tag), value);
    }
    void comment(const QString &value) { text("COMMENT", value); }

    void settings()
    {
        static const char *const tables[] = {"IS_C", "IS_CPP", "IS_A", "IS_A83", "IS_JAVA",
                                             "IS_ALL"};
        static const char *const basics[] = {
            "ASMEXT",          "SRCEXT",          "OBJEXT",          "EXEEXT",
            "DEFAULT_INCLUDE_PATHS", "DEFAULT_DEFINES", "DEFAULT_CPPFLAGS", "DEFAULT_CFLAGS",
            "DEFAULT_LDFLAGS", "DEFAULT_LIBRARY_PATHS", "DEFAULT_LIBS"};
        start("IS", QStringLiteral("Settings"), "IS");
        comment(prose(m_random, 120));
        // The last table, the common one, is the long one: 40% of the rows.
        const int rows = m_scale.settingsRows;
        const int longRows = rows * 2 / 5;
        const int shortRows = (rows - longRows) / 5;
        for (int t = 0; t < 6; ++t) {
            start(tables[t], QString::fromLatin1(tables[t]) + QStringLiteral(" settings"),
                  tables[t]);
            m_xml.writeStartElement(QStringLiteral("SETTINGS"));
            comment(prose(m_random, 80));
            for (const char *basic : basics) {
                start(basic, QString::fromLatin1(basic).toLower(), basic);
                text("VALUE", QStringLiteral("-O2 -g ") + QLatin1String(word(m_random)));
                comment(prose(m_random, 60));
                end();
            }
            const int count = t == 5 ? longRows : shortRows;
            for (int r = 0; r < count; ++r) {
                m_xml.writeStartElement(QStringLiteral("INIFIELD"));
                m_xml.writeAttribute(QStringLiteral("Doc"), QStringLiteral("ISOTHERS"));
                text("KEY", QStringLiteral("KEY_%1_%2").arg(t).arg(r));
                text("VALUE", QStringLiteral("--%1=%2 -I/opt/%3/include")
                                  .arg(QLatin1String(word(m_random)))
                                  .arg(r)
                                  .arg(QLatin1String(word(m_random))));
                comment(prose(m_random, 70 + m_random.below(40)));
                end();
            }
            end();
            end();
        }
        end();
    }

    void function(const char *container, const QString &proto, int bodyBytes)
    {
        m_xml.writeStartElement(QLatin1String(container));
        text("PROTO", proto);
        text("VALUE", code(m_random, bodyBytes));
        text("TAIL", QStringLiteral("}"));
        end();
    }

    void build()
    {
        static const char *const steps[] = {"PREPROCESSING", "COMPILATION", "ASSEMBLER",
                                            "LIBRARY",       "LINK",        "EXECUTE",
                                            "EXECUTEDBG",    "VMRPERLFUNC"};
        start("BUILD", QStringLiteral("Build"), "BUILD");
        comment(prose(m_random, 150));
        for (const char *step : steps) {
            start(step, QString::fromLatin1(step).toLower(), step);
            comment(prose(m_random, 90));
            function("VALUEFCTPERL",
                     QStringLiteral("sub atl_%1 {\n    my ($source, $object, $flags) = @_;")
                         .arg(QString::fromLatin1(step).toLower()),
                     600 + m_random.below(1200));
            end();
        }
        // The large text first, where a user finds it at the top of the section.
        asciiFile(QStringLiteral("large.txt"), m_scale.freeTextBytes);
        for (int f = 0; f < m_scale.asciiFiles; ++f)
            asciiFile(QStringLiteral("file_%1.sh").arg(f), m_scale.asciiFileBytes);
        const int files = std::max(1, m_scale.binaryFiles);
        for (int f = 0; f < files; ++f)
            binaryFile(f, m_scale.binaryBytes / files);
        if (m_scale.markupTextBytes > 0) {
            m_xml.writeStartElement(QStringLiteral("NEWCMDFILE"));
            m_xml.writeAttribute(QStringLiteral("Name"), QStringLiteral("markup.txt"));
            comment(prose(m_random, 80));
            text("VALUE", m_scale.markupHeavy ? markup(m_random, m_scale.markupTextBytes)
                                              : prose(m_random, m_scale.markupTextBytes));
            end();
        }
        for (int f = 0; f < m_scale.smallFiles; ++f) {
            m_xml.writeStartElement(QStringLiteral("NEWCMDFILE"));
            m_xml.writeAttribute(QStringLiteral("Name"), QStringLiteral("f_%1.c").arg(f));
            text("COMMENT", QString());
            text("VALUE", prose(m_random, m_scale.smallFileBytes));
            end();
        }
        end();
    }

    void asciiFile(const QString &name, int bytes)
    {
        m_xml.writeStartElement(QStringLiteral("NEWCMDFILE"));
        m_xml.writeAttribute(QStringLiteral("Name"), name);
        comment(prose(m_random, 80));
        text("VALUE", code(m_random, bytes));
        end();
    }

    void binaryFile(int index, qint64 size)
    {
        const QString name = QStringLiteral("firmware_%1.bin").arg(index);
        m_xml.writeStartElement(QStringLiteral("NEWBINFILE"));
        m_xml.writeAttribute(QStringLiteral("Name"), name);
        comment(prose(m_random, 80));
        m_xml.writeStartElement(QStringLiteral("ENCODED_FILE"));
        m_xml.writeAttribute(QStringLiteral("Name"), name);
        m_xml.writeAttribute(QStringLiteral("Size"), QString::number(size));
        m_xml.writeAttribute(QStringLiteral("Encoding"), QStringLiteral("base64"));
        // The digest too, as the encoding script records it: the checks work it out.
        constexpr int slice = 57 * 1024;
        QList<QByteArray> slices;
        QCryptographicHash sha(QCryptographicHash::Sha256);
        for (qint64 at = 0; at < size; at += slice) {
            QByteArray bytes(int(std::min<qint64>(slice, size - at)), Qt::Uninitialized);
            for (char &byte : bytes)
                byte = char(m_random.next());
            sha.addData(bytes);
            slices.append(bytes);
        }
        m_xml.writeAttribute(QStringLiteral("Sha256"), QString::fromLatin1(sha.result().toHex()));
        for (const QByteArray &bytes : std::as_const(slices)) {
            const QByteArray encoded = bytes.toBase64();
            // 76 columns, as the encoding script writes them.
            QByteArray lines;
            lines.reserve(encoded.size() + encoded.size() / 76 + 2);
            lines += '\n';
            for (int i = 0; i < encoded.size(); i += 76)
                lines += encoded.mid(i, 76) + '\n';
            text("DATA", QString::fromLatin1(lines));
        }
        end();
        end();
    }

    void field(int kind, const QString &name)
    {
        m_xml.writeStartElement(QStringLiteral("ITEM"));
        switch (kind % 3) {
        case 0:
            m_xml.writeStartElement(QStringLiteral("TEXT_MACRO"));
            m_xml.writeAttribute(QStringLiteral("Name"), name);
            m_xml.writeAttribute(QStringLiteral("Doc"), name);
            comment(prose(m_random, 50 + m_random.below(50)));
            text("VALUE", QStringLiteral("\"%1\"").arg(QLatin1String(word(m_random))));
            break;
        case 1:
            m_xml.writeStartElement(QStringLiteral("BINARY_MACRO"));
            m_xml.writeAttribute(QStringLiteral("Name"), name);
            m_xml.writeAttribute(QStringLiteral("Doc"), name);
            m_xml.writeAttribute(QStringLiteral("Value"), QString::number(m_random.below(2)));
            comment(prose(m_random, 50 + m_random.below(50)));
            break;
        default:
            m_xml.writeStartElement(QStringLiteral("OPTIONAL_MACRO"));
            m_xml.writeAttribute(QStringLiteral("Name"), name);
            m_xml.writeAttribute(QStringLiteral("Doc"), name);
            m_xml.writeAttribute(QStringLiteral("Value"),
                                 QStringLiteral("__attribute__((%1))")
                                     .arg(QLatin1String(word(m_random))));
            m_xml.writeAttribute(QStringLiteral("Defined"), QString::number(m_random.below(2)));
            comment(prose(m_random, 50 + m_random.below(50)));
            break;
        }
        end();
        end();
    }

    void itemPage(const char *tag, int fields)
    {
        ++m_page;
        start(tag, QStringLiteral("Item page %1").arg(m_page), tag);
        comment(prose(m_random, 60));
        for (int f = 0; f < fields; ++f)
            field(f + m_page, QStringLiteral("USR_ITEM_%1_%2").arg(m_page).arg(f));
        end();
    }

    void choicePage(const char *tag, int tabs)
    {
        ++m_page;
        start(tag, QStringLiteral("Choice page %1").arg(m_page), tag);
        m_xml.writeStartElement(QStringLiteral("CHOICE"));
        m_xml.writeAttribute(QStringLiteral("Name"), QStringLiteral("Variant:"));
        m_xml.writeAttribute(QStringLiteral("Value"), QStringLiteral("User defined"));
        static const char *const variants[] = {"Standard", "None", "User defined"};
        for (int v = 0; v < 3; ++v) {
            m_xml.writeStartElement(QStringLiteral("CHOICEDATA"));
            m_xml.writeAttribute(QStringLiteral("Sensitive"), v == 2 ? QStringLiteral("1")
                                                                     : QStringLiteral("0"));
            m_xml.writeCharacters(QLatin1String(variants[v]));
            end();
        }
        for (int t = 0; t < tabs; ++t) {
            m_xml.writeStartElement(QStringLiteral("ONGLET"));
            m_xml.writeAttribute(QStringLiteral("Label"), QStringLiteral("Tab %1").arg(t));
            if (t % 2 == 0) {
                m_xml.writeStartElement(QStringLiteral("VALUEFCTC"));
                m_xml.writeAttribute(QStringLiteral("Doc"), QLatin1String(tag));
                text("PROTO", QStringLiteral("void usr_page_%1_%2(void)\n{").arg(m_page).arg(t));
                text("VALUE", code(m_random, 100 + m_random.below(120)));
                text("TAIL", QStringLiteral("}"));
                comment(prose(m_random, 40));
                end();
            } else {
                field(t, QStringLiteral("USR_CHOICE_%1_%2").arg(m_page).arg(t));
            }
            end();
        }
        end();
        comment(prose(m_random, 50));
        end();
    }

    void functionPage(const char *tag)
    {
        ++m_page;
        start(tag, QStringLiteral("Function page %1").arg(m_page), tag);
        comment(prose(m_random, 50));
        function("VALUEFCT", QStringLiteral("static void priv_%1(void)\n{").arg(m_page),
                 120 + m_random.below(160));
        end();
    }

    void freeText(const char *tag, int bytes)
    {
        start(tag, QString::fromLatin1(tag).toLower(), tag);
        comment(prose(m_random, 60));
        text("VALUE", code(m_random, bytes));
        end();
    }

    void libconf()
    {
        static const char *const freeTexts[] = {
            "FREE_TEXT_BEFORE_FOR_INSTR",  "FREE_TEXT_BEFORE_FOR_VMR",
            "FREE_TEXT_BEFORE_FOR_INSTR_AND_GEN", "FREE_TEXT_AFTER_FOR_VMR",
            "FREE_TEXT_WITH_PRIV_IO_ADS",  "FREE_TEXT_ADD_PRIV_IO_ADS"};
        static const char *const sections[] = {"COMPILER_SPECIFICS", "APPLICATION_SPECIFICS",
                                               "TESTING_SPECIFICS",  "IO",
                                               "HEAP",               "CLOCKING",
                                               "THREADING",          "FUNCTIONS"};
        start("LIBCONF", QStringLiteral("Runtime library"), "LIBCONF");
        comment(prose(m_random, 120));
        m_xml.writeStartElement(QStringLiteral("LIBCONFC"));
        for (const char *tag : freeTexts)
            freeText(tag, 600 + m_random.below(2000));
        for (int s = 0; s < m_scale.sections; ++s) {
            const char *tag = sections[s % 8];
            start(tag, QStringLiteral("Section %1").arg(s), tag);
            comment(prose(m_random, 100));
            const int pages = m_scale.pagesPerSection;
            // Most pages sit in the section, a tenth in a sub-section.
            const int inSub = pages / 10;
            for (int p = 0; p < pages - inSub; ++p) {
                switch (p % 4) {
                case 0:
                case 1:
                    itemPage("ITEM_PAGE", 1 + m_random.below(3));
                    break;
                case 2:
                    choicePage("CHOICE_PAGE", 2);
                    break;
                default:
                    functionPage("FCT_PAGE");
                    break;
                }
            }
            start("COMMENT_PAGE", QStringLiteral("Sub-section %1").arg(s), "COMMENT_PAGE");
            comment(prose(m_random, 80));
            for (int p = 0; p < inSub; ++p) {
                if (p % 2)
                    choicePage("CHOICE_PAGE", 2);
                else
                    itemPage("ITEM_PAGE", 2);
            }
            end();
            end();
        }
        // The large pages, each the biggest of its viewer kind.
        itemPage("RESTRICTIONS", m_scale.largestItemFields);
        choicePage("CLOCK", m_scale.largestChoiceTabs);
        end();
        end();
    }

    void parserText(const char *tag)
    {
        start(tag, QString::fromLatin1(tag).toLower(), tag);
        comment(prose(m_random, 60));
        QString options;
        while (options.size() < m_scale.parserTextBytes)
            options += QStringLiteral("-D%1_%2=%3\n")
                           .arg(QString::fromLatin1(word(m_random)).toUpper())
                           .arg(options.size())
                           .arg(m_random.below(1000));
        text("VALUE", options);
        end();
    }

    void parser()
    {
        start("PARSERCONF", QStringLiteral("Parser"), "PARSERCONF");
        comment(prose(m_random, 80));
        m_xml.writeStartElement(QStringLiteral("PARSERSETTINGS"));
        m_xml.writeStartElement(QStringLiteral("PC_ORB"));
        parserText("ORBPARSER");
        end();
        start("PC_EDG", QStringLiteral("Front end"), "PC_EDG");
        comment(prose(m_random, 60));
        parserText("PCOPP");
        parserText("PCHPP");
        end();
        parserText("STANDARDA95");
        end();
        end();
    }

    QXmlStreamWriter m_xml;
    Scale m_scale;
    Random m_random;
    int m_page = 0;
};

} // namespace Detail

/** The document of the scale, as the bytes of an .xvm file. */
inline QByteArray generate(const Scale &scale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Detail::Writer(&buffer, scale).document();
    buffer.close();
    return bytes;
}

/** Writes the document of the scale to path; false with a reason when it cannot. */
inline bool writeFile(const QString &path, const Scale &scale, QString *error = nullptr)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    Detail::Writer(&file, scale).document();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace VmrDocGen
