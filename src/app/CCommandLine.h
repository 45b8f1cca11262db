#pragma once
// The desktop program's command line: the study to open, a visible run to start at once and its
// pace, whether the desktop's menu started the program, and the help and version requests,
// which are answered before any window system is needed.

#include <QString>
#include <QStringList>

struct CCommandLine
{
    QString study;
    bool runAtStart = false;
    double timeWarp = 0.0;     // simulated seconds per real second; 0: the view's own
    bool showResults = false;  // a finished run shows the Results window unasked
    bool fromMenu = false;
    bool helpWanted = false;
    bool versionWanted = false;

    // arguments: without the program's name. The first argument that is no option is the study.
    static CCommandLine parse(const QStringList& arguments);

    static QString helpText();
    static QString versionText(const QString& version);
};
