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
    QMessageBox::warning(owner(), caption, fromStd(text));
}

void CMessageBoxDialogs::inform(const std::string& text)
{
    QMessageBox::information(owner(), caption, fromStd(text));
}

bool CMessageBoxDialogs::ask(const std::string& text)
{
    QMessageBox box(QMessageBox::Warning, caption, fromStd(text), QMessageBox::Yes | QMessageBox::No, owner());
    return box.exec() == QMessageBox::Yes;
}

CUserDialogs::SaveChoice CMessageBoxDialogs::askSaveChanges(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    owner());
    switch (box.exec())
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
