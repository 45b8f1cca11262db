#pragma once
// The simulation configuration dialog: the traffic files and their format, the metrics folder,
// the road's length and lanes, the drive side, the output detectors, the time step, the order in
// which vehicles enter and the two run switches. Works on its members; the caller writes them to the study on OK.

#include "dialogs/CDialogExt.h"

#include <QString>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CSimConfigDlg : public CDialogExt
{
    Q_OBJECT

public:
    enum ControlId
    {
        inputFileEdit = 1000,
        inputFileBrowse = 1001,
        roadLengthEdit = 1002,
        vorkRadio = 1003,
        talvorRadio = 1004,
        lanesDir1Combo = 1005,
        lanesDir2Combo = 1006,
        outputFileEdit = 1007,
        driveSideCombo = 1008,
        timeStepEdit = 1009,
        fileLanesDir1Combo = 1010,
        fileLanesDir2Combo = 1011,
        outputFileBrowse = 1012,
        outputDetector1Edit = 1013,
        outputDetector2Edit = 1014,
        metricsFolderBrowse = 1015,
        metricsFolderEdit = 1016,
        laneChangesCheck = 1024,
        outputCarsCheck = 1031,
        dorivRadio = 1032,
        releaseOrderCombo = 1033,
    };

    explicit CSimConfigDlg(QWidget* parent = nullptr);

    // Writes the members into the controls (the dialog's initialisation).
    void updateControls();
    // Reads the controls into the members; the first value that is not a whole number in its
    // range is reported and its control takes the focus. False then.
    bool exchangeFromControls();
    void validateData(int& badControlId, QString& message) override;

    QString inputFileName;
    QString outputFileName;
    QString metricsFolder;
    int roadLength = 3000;
    int lanesDir1 = 2;
    int lanesDir2 = 1;
    int fileFormat = 101;
    int timeStepMs = 100;
    int fileLanesDir1 = 2;
    int fileLanesDir2 = 1;
    bool drivesOnRight = true;
    int outputDetectorLocation1 = 2500;
    int outputDetectorLocation2 = 2500;
    bool laneChangesAllowed = true;
    bool outputCars = true;
    // Vehicles enter per lane rather than in file order.
    bool releasePerLane = false;

protected:
    bool exchangeOnClose() override { return exchangeFromControls(); }

private:
    QWidget* trafficFileGroup();
    QWidget* simulationGroup();
    QWidget* roadGroup();
    QComboBox* laneCombo(int id);
    QLineEdit* numberEdit(int id);
    void browseInputFile();
    void browseOutputFile();
    void browseMetricsFolder();
    void keepCheckedFormatInTabChain();
    // A browsed file or folder as the study stores it: absolute, a folder with its separator.
    static QString storedName(const QString& chosen, bool folder);

    QLineEdit* inputFile;
    QLineEdit* outputFile;
    QLineEdit* metricsFolderEditor;
    QLineEdit* roadLengthEditor;
    QLineEdit* timeStepEditor;
    QLineEdit* detector1Editor;
    QLineEdit* detector2Editor;
    QComboBox* lanes1;
    QComboBox* lanes2;
    QComboBox* fileLanes1;
    QComboBox* fileLanes2;
    QComboBox* driveSide;
    QComboBox* releaseOrder;
    QCheckBox* laneChanges;
    QCheckBox* cars;
    QButtonGroup* formats;
};
