#include "dialogs/CPreferencesDlg.h"

#include "config/CConfigData.h"
#include "dialogs/CGridCellTip.h"
#include "dialogs/CUserDialogs.h"
#include "widgets/CGridCtrl.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

const QStringList& CPreferencesDlg::settingNames()
{
    static const QStringList names = {"Overall scale (meters/pixel)",
                                      "Widths Scale",
                                      "Time warp factor",
                                      "Lane width (m)",
                                      "Vehicle width (m)",
                                      "Vehicle Length Scale",
                                      "Show Velocities",
                                      "Show Legend",
                                      "Tick Length (m)",
                                      "Tick Interval (m)",
                                      "Border Top (m)",
                                      "Border Bottom (m)",
                                      "Border Left (m)",
                                      "Border Right (m)",
                                      "Space-time interval (s)"};
    return names;
}

CPreferencesDlg::CPreferencesDlg(QWidget* parent)
    : QDialog(parent), minViewScale(theConfigData.minViewScale), grid(new CGridCtrl)
{
    setWindowTitle(QStringLiteral("Graphics Preferences"));
    grid->onEndEdit = [this](int row, int column) {
        if (column == 1 && row >= 1 && row <= settingCount)
        {
            settings[static_cast<std::size_t>(row - 1)] = grid->number(row, column);
            grid->setNumber(row, column, settings[static_cast<std::size_t>(row - 1)]);
        }
        return true;
    };
    new CGridCellTip(*grid, *this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPreferencesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid, 1);
    layout->addWidget(buttons);
    resize(380, 480);
}

void CPreferencesDlg::initialise()
{
    grid->setRowCount(settingCount + 1);
    grid->setColumnCount(2);
    grid->setText(0, 0, QStringLiteral("Setting"));
    grid->setText(0, 1, QStringLiteral("Value"));
    for (int r = 1; r <= settingCount; ++r)
    {
        grid->setText(r, 0, settingNames()[r - 1]);
        grid->setCellKind(r, 1, CGridCtrl::CellKind::decimal);
        grid->setNumber(r, 1, settings[static_cast<std::size_t>(r - 1)]);
    }
}

void CPreferencesDlg::accept()
{
    // The messages come while the dialog is still there to show what they correct.
    correctSettings();
    QDialog::accept();
}

void CPreferencesDlg::correctSettings()
{
    auto& s = settings;
    if (s[viewScale] < minViewScale)
    {
        userDialogs().warn("View scale cannot be less than minimum - default minimum set");
        s[viewScale] = minViewScale;
    }
    if (s[widthsScale] < 1.0)
    {
        userDialogs().warn("Widths scale cannot be less than 1.0 - default set");
        s[widthsScale] = 1.0;
    }
    if (s[timeWarpFactor] < 1.0)
        s[timeWarpFactor] = 1.0;
    if (s[vehicleWidth] > s[laneWidth])
    {
        userDialogs().warn("Vehicle width should be less than lane width - default of 80% of lane width set");
        s[vehicleWidth] = 0.8 * s[laneWidth];
    }
    // Beyond these the drawing's pixel coordinates would no longer fit in an int; the time warp
    // is capped as Speed Up caps it.
    const double largest[settingCount] = {100.0,  1000.0,   1000.0,   1000.0,   1000.0,   100.0,    1.0,   1.0,
                                          1000.0, 100000.0, 100000.0, 100000.0, 100000.0, 100000.0, 3600.0};
    for (int i = 0; i < settingCount; ++i)
        if (i != showVelocities && i != showLegend && s[static_cast<std::size_t>(i)] > largest[i])
        {
            userDialogs().warn(QStringLiteral("%1 cannot be more than %2 - maximum set")
                                   .arg(settingNames()[i])
                                   .arg(largest[i])
                                   .toStdString());
            s[static_cast<std::size_t>(i)] = largest[i];
        }
    // A tick interval under a metre would leave the scale without ticks (or divide by zero).
    if (s[tickInterval] < 1.0)
    {
        userDialogs().warn("Tick interval cannot be less than 1 m - default set");
        s[tickInterval] = 500.0;
    }
    // The space-time diagram samples the run at this interval of simulated time; an interval
    // under a step's length samples every step. Not a number compares false: caught here too.
    if (!(s[spaceTimeInterval] > 0.0))
    {
        userDialogs().warn("Space-time interval must be more than 0 s - default of 1 s set");
        s[spaceTimeInterval] = 1.0;
    }
}
