#include "app/CRoadfluxApp.h"
#include "app/CSteadyClock.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(CRecentFileList::application());
    QApplication::setOrganizationName(CRecentFileList::organisation());
    CRoadfluxApp roadflux(CSteadyClock::instance());
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!roadflux.initInstance(arguments))
        return 1;
    return QApplication::exec();
}
