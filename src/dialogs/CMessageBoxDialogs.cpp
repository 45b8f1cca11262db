#include "dialogs/CMessageBoxDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {
const QString caption = QStringLiteral("Roadflux");

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

QWidget* owner()
{
    return QApplication::activeWindow();
}
}

void CMessageBoxDialogs::warn(const std::string& text)
{
    auto box = messageBox(QMessageBox::Warning, fromStd(text), QMessageBox::Ok);
    box->exec();
}

void CMessageBoxDialogs::inform(const std::string& text)
{
    auto box = messageBox(QMessageBox::Information, fromStd(text), QMessageBox::Ok);
    box->exec();
}

bool CMessageBoxDialogs::ask(const std::string& text)
{
    auto box = messageBox(QMessageBox::Warning, fromStd(text), QMessageBox::Yes | QMessageBox::No);
    return box->exec() == QMessageBox::Yes;
}

std::unique_ptr<QMessageBox> CMessageBoxDialogs::messageBox(QMessageBox::Icon icon, const QString& text,
                                                            QMessageBox::StandardButtons buttons)
{
    auto box = std::make_unique<QMessageBox>(icon, caption, text, buttons, owner());
    // Messages quote file names and file contents: a text with tags must not be read as HTML.
    box->setTextFormat(Qt::PlainText);
    return box;
}

CUserDialogs::SaveChoice CMessageBoxDialogs::askSaveChanges(const QString& text)
{
    auto box = messageBox(QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    switch (box->exec())
    {
    case QMessageBox::Yes: return SaveChoice::save;
    case QMessageBox::No: return SaveChoice::discard;
    default: return SaveChoice::cancel;
    }
}

QString CMessageBoxDialogs::chooseOpenFile(const QString& dialogCaption, const QString& filter)
{
    return QFileDialog::getOpenFileName(owner(), dialogCaption, QString(), filter);
}

QString CMessageBoxDialogs::chooseSaveFile(const QString& dialogCaption, const QString& filter,
                                           const QString& defaultSuffix, const QString& suggestion)
{
    QFileDialog dialog(owner(), dialogCaption, suggestion, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString CMessageBoxDialogs::chooseFolder(const QString& dialogCaption)
{
    return QFileDialog::getExistingDirectory(owner(), dialogCaption);
}
