#pragma once

#include <QString>
#include <QUrl>

/**
 * Shows the user guide and web pages in an external browser. The browser command is a
 * program name or path, possibly followed by options; it is started detached with the
 * address as its last argument, never through a shell.
 */
class QAHelp
{
public:
    QAHelp();
    explicit QAHelp(const QString &helpDir);

    QString getCommand() const { return m_command; }
    QString getDefaultCommand() const;
    void setCommand(const QString &command) { m_command = command; }

    QString getHelpURL() const { return m_helpUrl; }
    QString getDefaultHelpURL() const;
    void setHelpURL(const QString &url) { m_helpUrl = url; }

    bool getStartLocalServer() const { return m_localServer; }
    bool getDefaultStartLocalServer() const { return false; }
    void setStartLocalServer(bool on) { m_localServer = on; }

    void setHelpDir(const QString &dir) { m_helpDir = dir; }
    QString helpDir() const;

    /** Opens a guide of the help directory (the edition's when empty) at a topic. */
    bool showHelp(const QString &guide, const QString &topic);
    /** Opens a web address; an empty one opens nothing. */
    bool switchToBrevikWeb(const QUrl &url);

    /** The page that showHelp opens for a guide and topic (empty when none exists). */
    QString guidePage(const QString &guide, const QString &topic) const;
    /** The program and arguments last started, for the curious and the tests. */
    QStringList lastLaunch() const { return m_lastLaunch; }

private:
    bool launch(const QString &address);

    QString m_command;
    QString m_helpUrl;
    QString m_helpDir;
    bool m_localServer = false;
    QStringList m_lastLaunch;
};
