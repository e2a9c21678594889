#include "app/qacommandline.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

// Qt's own options that take a value, and those that take none: the application object
// reads them itself (see QGuiApplication and QApplication).
const char *const kQtValueOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
    "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display",
    "geometry", "name", "title", "icon", "style", "stylesheet",
};
const char *const kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb"};

} // namespace

QACommandLine::QACommandLine(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc && argv && argv[i]; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    m_program = arguments.value(0);

    QCommandLineParser parser;
    // "-style Fusion" is Qt's spelling: one dash before a word is a long option.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Read before any translation is installed, like the usage line: in English.
    parser.setApplicationDescription(
        QStringLiteral("Edits Velmor port descriptions (.xvm files). Without a file the "
                       "editor reopens the document saved last. ORBISKDIR must name the "
                       "installation directory.\nQt's own options, such as -style Fusion, "
                       "are accepted as well."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    QList<QCommandLineOption> qtOptions;
    for (const char *name : kQtValueOptions)
        qtOptions << QCommandLineOption(QLatin1String(name), QString(), QStringLiteral("value"));
    for (const char *name : kQtFlagOptions)
        qtOptions << QCommandLineOption(QLatin1String(name));
    for (QCommandLineOption &option : qtOptions) {
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("The port description to open."),
                                 QStringLiteral("[file]"));

    // The help names the program as the user called it.
    m_help = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                       QFileInfo(m_program).fileName());

    if (!parser.parse(arguments)) {
        m_error = parser.errorText();
        m_request = Usage;
        return;
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")))
        m_request = Help;
    else if (parser.isSet(version))
        m_request = Version;
    else if (files.size() > 1)
        m_request = Usage;
    else
        m_document = files.value(0);
}

QString QACommandLine::usageText() const
{
    const QString usage = QStringLiteral("Usage: %1 [file]\n").arg(m_program);
    return m_error.isEmpty() ? usage : m_error + QLatin1Char('\n') + usage;
}

QString QACommandLine::helpText() const
{
    return m_help;
}

QString QACommandLine::versionText() const
{
    return QStringLiteral("vmreditor " VMR_VERSION "\n");
}
