#include "resultswindow/ResultsDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

ResultsDialogs ResultsDialogs::standard(QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    ResultsDialogs dialogs;
    dialogs.chooseSaveFile = [owner](const QString& caption, const QString& filter, const QString& suggestion) {
        return QFileDialog::getSaveFileName(owner, caption, suggestion, filter);
    };
    dialogs.chooseFolder = [owner](const QString& caption, const QString& start) {
        return QFileDialog::getExistingDirectory(owner, caption, start);
    };
    // Warnings quote file names: plain text, so that a name with tags is not read as HTML.
    dialogs.warn = [owner](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Roadflux"), text, QMessageBox::Ok, owner);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    };
    return dialogs;
}
