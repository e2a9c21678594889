#pragma once

#include <QString>

/** File-name helpers shared by the dialogs that ask for a document name. */
class QAFileUtil
{
public:
    /** The characters that a document file name may not contain. */
    static QString forbiddenCharacters();
    static bool hasForbiddenCharacter(const QString &fileName);
    /** The name with every forbidden character replaced by an underscore. */
    static QString generateFilename(const QString &name);
};
