#pragma once
// The program's real conversations with the user: Qt message boxes captioned "Roadflux" over the
// active window, and Qt's file dialogs.

#include "dialogs/CUserDialogs.h"

#include <QMessageBox>

#include <memory>

class CMessageBoxDialogs : public CUserDialogs
{
public:
    void warn(const std::string& text) override;
    void inform(const std::string& text) override;
    bool ask(const std::string& text) override;
    SaveChoice askSaveChanges(const QString& text) override;
    QString chooseOpenFile(const QString& caption, const QString& filter) override;
    QString chooseSaveFile(const QString& caption, const QString& filter, const QString& defaultSuffix,
                           const QString& suggestion) override;
    QString chooseFolder(const QString& caption) override;

    // The box each message is shown in, captioned and with its text as plain text.
    static std::unique_ptr<QMessageBox> messageBox(QMessageBox::Icon icon, const QString& text,
                                                   QMessageBox::StandardButtons buttons);
};
