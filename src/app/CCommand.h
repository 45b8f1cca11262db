#pragma once
// One entry of the program's command table: its identifier, menu, item text, shortcut key and the
// prompt shown in the status bar ("prompt\ntool tip").

#include <QString>

struct CCommand
{
    int id = 0;  // 0 marks a separator
    QString menu;
    QString text;      // with its & mnemonic, without the shortcut
    QString shortcut;  // portable key text, "" when none
    QString prompt;    // status-bar prompt, then "\n" and the tool tip

    bool isSeparator() const { return id == 0; }
    QString statusPrompt() const { return prompt.section(QLatin1Char('\n'), 0, 0); }
    QString toolTip() const { return prompt.section(QLatin1Char('\n'), 1); }
};
