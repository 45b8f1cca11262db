#pragma once
// The File menu's list of the four most recently used study files, most recent first, kept in
// the program's settings under "Local AppWizard-Generated Applications".

#include <QString>
#include <QStringList>

class CRecentFileList
{
public:
    static constexpr int maxEntries = 4;

    // Reads the list from the settings.
    CRecentFileList();

    const QStringList& entries() const { return files; }
    // Puts a file at the top (moving it there if it is already listed) and stores the list.
    void add(const QString& path);
    void remove(const QString& path);
    // The menu text of entry index (from 0): "&1 name".
    QString menuText(int index) const;

    static QString organisation() { return QStringLiteral("Local AppWizard-Generated Applications"); }
    static QString application() { return QStringLiteral("Roadflux"); }

private:
    void store() const;

    QStringList files;
};
