#include "dialogs/CSimConfigDlg.h"

#include "dialogs/CUserDialogs.h"
#include "document/SimulationSettingsEntry.h"
#include "document/StudyChecks.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
// A line of a control with a unit or a browse button after it.
QWidget* withTrailer(QWidget* control, QWidget* trailer)
{
    auto* line = new QWidget;
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(control, 1);
    layout->addWidget(trailer);
    return line;
}

QLabel* unit(const char* text)
{
    return new QLabel(QString::fromLatin1(text));
}

// A path field, wide enough to read a path, beside its narrow "..." button.
QWidget* pathLine(QLineEdit* path, QPushButton* browse)
{
    path->setMinimumWidth(path->fontMetrics().averageCharWidth() * 45);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(browse->text()) + 20);
    return withTrailer(path, browse);
}
}

CSimConfigDlg::CSimConfigDlg(QWidget* parent) : CDialogExt(parent)
{
    setWindowTitle(QStringLiteral("Simulation Configuration"));
    auto* columns = new QHBoxLayout;
    columns->addWidget(trafficFileGroup());
    auto* right = new QVBoxLayout;
    right->addWidget(simulationGroup());
    right->addWidget(roadGroup());
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(makeButtons());
}

QComboBox* CSimConfigDlg::laneCombo(int id)
{
    auto* combo = new QComboBox;
    combo->addItems({"0", "1", "2", "3", "4"});
    setControlId(combo, id);
    return combo;
}

QLineEdit* CSimConfigDlg::numberEdit(int id)
{
    auto* edit = new QLineEdit;
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), edit));
    setControlId(edit, id);
    return edit;
}

QWidget* CSimConfigDlg::trafficFileGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Traffic File Details"));
    auto* form = new QFormLayout(group);

    inputFile = new QLineEdit;
    setControlId(inputFile, inputFileEdit);
    auto* inputBrowse = new QPushButton(QStringLiteral("..."));
    setControlId(inputBrowse, inputFileBrowse);
    connect(inputBrowse, &QPushButton::clicked, this, &CSimConfigDlg::browseInputFile);
    form->addRow(QStringLiteral("Input Traffic File"), pathLine(inputFile, inputBrowse));

    outputFile = new QLineEdit;
    setControlId(outputFile, outputFileEdit);
    auto* outputBrowse = new QPushButton(QStringLiteral("..."));
    setControlId(outputBrowse, outputFileBrowse);
    connect(outputBrowse, &QPushButton::clicked, this, &CSimConfigDlg::browseOutputFile);
    form->addRow(QStringLiteral("Output Traffic File"), pathLine(outputFile, outputBrowse));

    metricsFolderEditor = new QLineEdit;
    setControlId(metricsFolderEditor, metricsFolderEdit);
    auto* folderBrowse = new QPushButton(QStringLiteral("..."));
    setControlId(folderBrowse, metricsFolderBrowse);
    connect(folderBrowse, &QPushButton::clicked, this, &CSimConfigDlg::browseMetricsFolder);
    form->addRow(QStringLiteral("Metrics Directory"), pathLine(metricsFolderEditor, folderBrowse));

    formats = new QButtonGroup(this);
    auto* formatLine = new QWidget;
    auto* formatLayout = new QHBoxLayout(formatLine);
    formatLayout->setContentsMargins(0, 0, 0, 0);
    const std::pair<const char*, int> radios[] = {{"TALVOR", talvorRadio}, {"VORK", vorkRadio}, {"DoRIV", dorivRadio}};
    for (const auto& [name, id] : radios)
    {
        auto* radio = new QRadioButton(QString::fromLatin1(name));
        setControlId(radio, id);
        formats->addButton(radio, id);
        formatLayout->addWidget(radio);
    }
    connect(formats, &QButtonGroup::idClicked, this, [this](int id) {
        fileFormat = id == vorkRadio ? 100 : id == dorivRadio ? 102 : 101;
    });
    connect(formats, &QButtonGroup::idToggled, this, [this] { keepCheckedFormatInTabChain(); });
    form->addRow(QStringLiteral("Traffic File Format:"), formatLine);

    auto* lanes = new QGroupBox(QStringLiteral("Number of Lanes"));
    auto* laneForm = new QFormLayout(lanes);
    fileLanes1 = laneCombo(fileLanesDir1Combo);
    fileLanes2 = laneCombo(fileLanesDir2Combo);
    laneForm->addRow(QStringLiteral("Direction 1"), fileLanes1);
    laneForm->addRow(QStringLiteral("Direction 2"), fileLanes2);
    form->addRow(lanes);
    return group;
}

QWidget* CSimConfigDlg::simulationGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Simulation Details"));
    auto* form = new QFormLayout(group);
    timeStepEditor = numberEdit(timeStepEdit);
    form->addRow(QStringLiteral("Simulation Time Step"), withTrailer(timeStepEditor, unit("ms")));
    releaseOrder = new QComboBox;
    releaseOrder->addItems({"In file order", "Per lane"});
    releaseOrder->setToolTip(QStringLiteral(
        "In file order, a vehicle that cannot enter yet holds back every later one, in every lane and both "
        "directions. Per lane, it holds back only the later vehicles of its own lane."));
    setControlId(releaseOrder, releaseOrderCombo);
    form->addRow(QStringLiteral("Vehicles Enter"), releaseOrder);
    return group;
}

QWidget* CSimConfigDlg::roadGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Simulation Road Details"));
    auto* form = new QFormLayout(group);
    roadLengthEditor = numberEdit(roadLengthEdit);
    form->addRow(QStringLiteral("Road Length"), withTrailer(roadLengthEditor, unit("m")));
    driveSide = new QComboBox;
    driveSide->addItems({"Left", "Right"});
    setControlId(driveSide, driveSideCombo);
    connect(driveSide, &QComboBox::currentTextChanged, this,
            [this](const QString& side) { drivesOnRight = side != QLatin1String("Left"); });
    form->addRow(QStringLiteral("Drive on the"), driveSide);
    laneChanges = new QCheckBox(QStringLiteral("Lane-changes allowed"));
    setControlId(laneChanges, laneChangesCheck);
    cars = new QCheckBox(QStringLiteral("Output cars to file"));
    setControlId(cars, outputCarsCheck);
    form->addRow(laneChanges);
    form->addRow(cars);

    auto* lanes = new QGroupBox(QStringLiteral("Number of Lanes"));
    auto* laneForm = new QFormLayout(lanes);
    lanes1 = laneCombo(lanesDir1Combo);
    lanes2 = laneCombo(lanesDir2Combo);
    laneForm->addRow(QStringLiteral("Direction 1 - (Positive x direction)"), lanes1);
    laneForm->addRow(QStringLiteral("Direction 2 - (Negative x direction)"), lanes2);
    form->addRow(lanes);

    auto* detectors = new QGroupBox(QStringLiteral("Road Location of Detectors for Output to File"));
    auto* detectorForm = new QFormLayout(detectors);
    detector1Editor = numberEdit(outputDetector1Edit);
    detector2Editor = numberEdit(outputDetector2Edit);
    detectorForm->addRow(QStringLiteral("Direction 1 - (Positive x direction)"),
                         withTrailer(detector1Editor, unit("m")));
    detectorForm->addRow(QStringLiteral("Direction 2 - (Negative x direction)"),
                         withTrailer(detector2Editor, unit("m")));
    form->addRow(detectors);
    return group;
}

void CSimConfigDlg::updateControls()
{
    inputFile->setText(inputFileName);
    outputFile->setText(outputFileName);
    metricsFolderEditor->setText(metricsFolder);
    roadLengthEditor->setText(QString::number(roadLength));
    timeStepEditor->setText(QString::number(timeStepMs));
    detector1Editor->setText(QString::number(outputDetectorLocation1));
    detector2Editor->setText(QString::number(outputDetectorLocation2));
    // A count outside the lists leaves its box without a selection, which the check refuses.
    auto select = [](QComboBox* combo, int lanes) { combo->setCurrentIndex(lanes >= 0 && lanes <= 4 ? lanes : -1); };
    select(lanes1, lanesDir1);
    select(lanes2, lanesDir2);
    select(fileLanes1, fileLanesDir1);
    select(fileLanes2, fileLanesDir2);
    laneChanges->setChecked(laneChangesAllowed);
    cars->setChecked(outputCars);
    releaseOrder->setCurrentIndex(releasePerLane ? 1 : 0);
    const bool onRight = drivesOnRight;
    driveSide->setCurrentIndex(onRight ? 1 : 0);
    drivesOnRight = onRight;
    const int radio = fileFormat == 100 ? vorkRadio : fileFormat == 102 ? dorivRadio : talvorRadio;
    formats->button(radio)->setChecked(true);
}

void CSimConfigDlg::keepCheckedFormatInTabChain()
{
    // Tab enters the group at its checked button and leaves it in one press; the arrow keys
    // move between the buttons.
    for (QAbstractButton* button : formats->buttons())
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

bool CSimConfigDlg::exchangeFromControls()
{
    auto integerOf = [](QLineEdit* edit, int lowest, int highest, int& value) {
        bool isInteger = false;
        const int read = edit->text().trimmed().toInt(&isInteger);
        if (!isInteger)
            userDialogs().warn("Please enter an integer.");
        else if (read < lowest || read > highest)
            userDialogs().warn(
                QStringLiteral("Please enter an integer between %1 and %2.").arg(lowest).arg(highest).toStdString());
        else
        {
            value = read;
            return true;
        }
        edit->setFocus();
        return false;
    };
    constexpr int any = 2147483647;
    inputFileName = inputFile->text();
    outputFileName = outputFile->text();
    metricsFolder = metricsFolderEditor->text();
    if (!integerOf(roadLengthEditor, StudyChecks::minRoadLength, StudyChecks::maxRoadLength, roadLength))
        return false;
    lanesDir1 = lanes1->currentIndex();
    lanesDir2 = lanes2->currentIndex();
    if (!integerOf(timeStepEditor, StudyChecks::minTimeStepMs, StudyChecks::maxTimeStepMs, timeStepMs))
        return false;
    fileLanesDir1 = fileLanes1->currentIndex();
    fileLanesDir2 = fileLanes2->currentIndex();
    if (!integerOf(detector1Editor, 0, any, outputDetectorLocation1) ||
        !integerOf(detector2Editor, 0, any, outputDetectorLocation2))
        return false;
    laneChangesAllowed = laneChanges->isChecked();
    drivesOnRight = driveSide->currentText() != QLatin1String("Left");
    outputCars = cars->isChecked();
    releasePerLane = releaseOrder->currentIndex() == 1;
    return true;
}

void CSimConfigDlg::validateData(int& badControlId, QString& message)
{
    exchangeFromControls();
    SimulationSettingsEntry entry;
    entry.inputFileName = inputFile->text().toStdString();
    entry.outputFileName = outputFile->text().toStdString();
    entry.roadLength = roadLength;
    entry.timeStepMs = timeStepMs;
    entry.lanesDir1 = lanes1->currentIndex();
    entry.lanesDir2 = lanes2->currentIndex();
    entry.fileLanesDir1 = fileLanes1->currentIndex();
    entry.fileLanesDir2 = fileLanes2->currentIndex();
    entry.outputDetectorLocation1 = outputDetectorLocation1;
    entry.outputDetectorLocation2 = outputDetectorLocation2;
    if (const auto refusal = StudyChecks::checkSimulationSettings(entry))
    {
        message = QString::fromStdString(refusal->message);
        badControlId = refusal->controlId;
    }
}

QString CSimConfigDlg::storedName(const QString& chosen, bool folder)
{
    QString name = QFileInfo(chosen).absoluteFilePath();
    if (folder && !name.endsWith(QLatin1Char('/')))
        name += QLatin1Char('/');
    return name;
}

void CSimConfigDlg::browseInputFile()
{
    const QString chosen =
        userDialogs().chooseOpenFile(QStringLiteral("Input Traffic File"), QStringLiteral("All Files (*)"));
    if (chosen.isEmpty())
        return;
    // Only the browsed name changes: what was typed elsewhere stays.
    inputFileName = storedName(chosen, false);
    inputFile->setText(inputFileName);
}

void CSimConfigDlg::browseOutputFile()
{
    const QString chosen = userDialogs().chooseSaveFile(QStringLiteral("Output Traffic File"),
                                                        QStringLiteral("text files (*.txt);;All Files (*)"),
                                                        QStringLiteral("txt"), outputFile->text());
    if (chosen.isEmpty())
        return;
    outputFileName = storedName(chosen, false);
    outputFile->setText(outputFileName);
}

void CSimConfigDlg::browseMetricsFolder()
{
    const QString chosen = userDialogs().chooseFolder(QStringLiteral("Pick a Directory"));
    if (chosen.isEmpty())
        return;
    metricsFolder = storedName(chosen, true);
    metricsFolderEditor->setText(metricsFolder);
}
