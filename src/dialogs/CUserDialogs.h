#pragma once
// Every modal conversation the program has with the user: message boxes captioned "Roadflux",
// the save-changes question and the file choosers. The program shows real dialogs; tests install
// their own answers with setUserDialogs, so that nothing modal blocks them.

#include "document/UserMessages.h"

#include <QString>

class CUserDialogs : public UserMessages
{
public:
    enum class SaveChoice
    {
        save,
        discard,
        cancel
    };

    // The save-changes question, with Yes, No and Cancel.
    virtual SaveChoice askSaveChanges(const QString& text) = 0;
    // A file to open or to write; "" when the user cancels. filter: "Name (*.ext)" entries
    // separated by ";;".
    virtual QString chooseOpenFile(const QString& caption, const QString& filter) = 0;
    virtual QString chooseSaveFile(const QString& caption, const QString& filter, const QString& defaultSuffix,
                                   const QString& suggestion) = 0;
    virtual QString chooseFolder(const QString& caption) = 0;
};

// The dialogs in use; the program's message boxes until tests install others.
CUserDialogs& userDialogs();
// Installs dialogs (null: the program's own again) and returns the previous ones.
CUserDialogs* setUserDialogs(CUserDialogs* dialogs);
