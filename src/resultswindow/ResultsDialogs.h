#pragma once
// The questions the Results window asks the user: where to save a chart, which folder to show,
// and the warning when a file cannot be written. The program's file dialogs unless replaced (the
// desktop program routes them through its own dialogs, tests answer them directly).

#include <QString>

#include <functional>

class QWidget;

struct ResultsDialogs
{
    // A file to write; "" when cancelled. filter: "Name (*.ext)".
    std::function<QString(const QString& caption, const QString& filter, const QString& suggestion)> chooseSaveFile;
    // A folder to read; "" when cancelled.
    std::function<QString(const QString& caption, const QString& start)> chooseFolder;
    std::function<void(const QString& text)> warn;

    // File dialogs and message boxes over `parent`.
    static ResultsDialogs standard(QWidget* parent);
};
