#pragma once
// The toolbar's 16 x 15 pixel button pictures, drawn in code so that the program carries no
// image files of other origin.

#include <QIcon>
#include <QSize>

class CToolbarIcons
{
public:
    static constexpr QSize size{16, 15};
    // The picture of a command of the toolbar; a blank one for any other command.
    static QIcon icon(int commandId);
};
