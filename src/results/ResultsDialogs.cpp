#include "results/ResultsDialogs.h"

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
    dialogs.warn = [owner](const QString& text) { QMessageBox::warning(owner, QStringLiteral("Roadflux"), text); };
    return dialogs;
}
