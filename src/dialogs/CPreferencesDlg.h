#pragma once
// The graphics preferences dialog: a view's zoom, widths, vehicle drawing, ticks, borders,
// legend and velocity switches, the time warp and the space-time diagram's sample interval, in a grid of settings and
// values. OK never refuses: out-of-range values are corrected, each with a message.

#include <QDialog>

#include <array>

class CGridCtrl;

class CPreferencesDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int settingCount = 15;
    enum Setting
    {
        viewScale,
        widthsScale,
        timeWarpFactor,
        laneWidth,
        vehicleWidth,
        vehicleLengthScale,
        showVelocities,
        showLegend,
        tickLength,
        tickInterval,
        borderTop,
        borderBottom,
        borderLeft,
        borderRight,
        spaceTimeInterval,
    };

    explicit CPreferencesDlg(QWidget* parent = nullptr);

    // Writes the settings into the grid.
    void initialise();
    // Corrects the settings, each with a message; called by OK before the dialog closes.
    void correctSettings();
    void accept() override;

    std::array<double, settingCount> settings{};
    CGridCtrl* getGrid() const { return grid; }

    static const QStringList& settingNames();

private:
    double minViewScale;
    CGridCtrl* grid;
};
