#pragma once
// The About box: the program's icon and version, a few lines of credits and an OK button.

#include <QDialog>

class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    static QString versionLine() { return QStringLiteral("Roadflux Version 1.0.6"); }
    static QString credits();
};
