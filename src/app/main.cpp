#include "app/CCommandLine.h"
#include "app/CRoadfluxApp.h"
#include "app/CSteadyClock.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    // Help and version are answered before QApplication, which needs a display.
    QStringList rawArguments;
    for (int i = 1; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    const CCommandLine early = CCommandLine::parse(rawArguments);
    if (early.helpWanted || early.versionWanted)
    {
        const QString text =
            early.helpWanted ? CCommandLine::helpText() : CCommandLine::versionText(QStringLiteral(ROADFLUX_VERSION));
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(CRecentFileList::application());
    QApplication::setOrganizationName(CRecentFileList::organisation());
    // Lets the desktop match the window to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("roadflux"));
    CRoadfluxApp roadflux(CSteadyClock::instance());
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!roadflux.initInstance(arguments))
        return 1;
    return QApplication::exec();
}
