#include "app/CRecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QSettings>

namespace {
const QString section = QStringLiteral("Recent File List");

QString key(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

// Two files are one entry when they name the same file.
bool sameFile(const QString& a, const QString& b)
{
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}
}

CRecentFileList::CRecentFileList()
{
    QSettings settings(organisation(), application());
    settings.beginGroup(section);
    for (int i = 0; i < maxEntries; ++i)
    {
        const QString path = settings.value(key(i)).toString();
        if (!path.isEmpty())
            files.append(path);
    }
}

void CRecentFileList::add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files.removeIf([&](const QString& listed) { return sameFile(listed, absolute); });
    files.prepend(absolute);
    while (files.size() > maxEntries)
        files.removeLast();
    store();
}

void CRecentFileList::remove(const QString& path)
{
    files.removeIf([&](const QString& listed) { return sameFile(listed, path); });
    store();
}

QString CRecentFileList::menuText(int index) const
{
    if (index < 0 || index >= files.size())
        return {};
    // Long paths keep their file name and lose the middle of the folder part.
    const QString shown =
        QFontMetrics(QFont()).elidedText(QDir::toNativeSeparators(files[index]), Qt::ElideMiddle, 300);
    QString escaped = shown;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(escaped);
}

void CRecentFileList::store() const
{
    QSettings settings(organisation(), application());
    settings.beginGroup(section);
    for (int i = 0; i < maxEntries; ++i)
    {
        if (i < files.size())
            settings.setValue(key(i), files[i]);
        else
            settings.remove(key(i));
    }
}
