#include "support/qafileutil.h"

QString QAFileUtil::forbiddenCharacters()
{
    return QStringLiteral(" /+*?~|,:\"'`");
}

bool QAFileUtil::hasForbiddenCharacter(const QString &fileName)
{
    const QString bad = forbiddenCharacters();
    for (const QChar c : fileName) {
        if (bad.contains(c))
            return true;
    }
    return false;
}

QString QAFileUtil::generateFilename(const QString &name)
{
    QString result = name;
    const QString bad = forbiddenCharacters() + QStringLiteral("[]\\");
    for (QChar &c : result) {
        if (bad.contains(c))
            c = QLatin1Char('_');
    }
    return result;
}
