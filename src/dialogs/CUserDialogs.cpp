#include "dialogs/CUserDialogs.h"

#include "dialogs/CMessageBoxDialogs.h"

namespace {
CUserDialogs* installedDialogs = nullptr;

CUserDialogs& programDialogs()
{
    static CMessageBoxDialogs dialogs;
    return dialogs;
}
}

CUserDialogs& userDialogs()
{
    return installedDialogs ? *installedDialogs : programDialogs();
}

CUserDialogs* setUserDialogs(CUserDialogs* dialogs)
{
    CUserDialogs* previous = installedDialogs;
    installedDialogs = dialogs;
    return previous;
}
