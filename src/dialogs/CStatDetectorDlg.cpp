#include "dialogs/CStatDetectorDlg.h"

#include "app/CUserDialogs.h"
#include "document/StudyChecks.h"
#include "document/StudyNames.h"
#include "widgets/CGridCtrl.h"

namespace
{
const QStringList columnTitles = {"Type", "Direction", "Vehicle Types", "Time Interval (s)", "Location / Step (m)"};
const QStringList directionNames = {"Positive x", "Negative x"};

QStringList namesOf(const std::vector<StudyNames::Named>& list)
{
    QStringList names;
    for (const StudyNames::Named& entry : list)
        names.append(QString::fromLatin1(entry.name));
    return names;
}

QString nameOf(const std::vector<StudyNames::Named>& list, std::uint16_t code)
{
    return QString::fromStdString(StudyNames::nameOf(list, code));
}

// A name outside the list is stored as the list's first code.
std::uint16_t codeOf(const std::vector<StudyNames::Named>& list, const QString& name)
{
    return StudyNames::codeOf(list, name.toStdString()).value_or(list.front().code);
}
}

CStatDetectorDlg::CStatDetectorDlg(const DetectorList& studyDetectors, int length, QWidget* parent)
    : CDialogExt(parent), roadLength(length), grid(new CGridCtrl)
{
    setWindowTitle(QStringLiteral("Macroscopic Traffic Flow Metrics Detectors"));
    for (const auto& detector : studyDetectors)
        detectors.push_back(std::make_unique<CStatDetector>(*detector));

    setControlId(grid, StudyChecks::gridControl);
    grid->onEndEdit = [this](int row, int column) { return endEdit(row, column); };
    layOutListEditor(grid, {QStringLiteral("Add Detector"), 1027, [this] { addDetector(); }},
                     {QStringLiteral("Delete Last Detector"), 1028, [this] { deleteLastDetector(); }},
                     860, 420);

    grid->setColumnCount(6);
    grid->reserveLabelWidth(QStringLiteral("Detector 99"));
    for (int c = 1; c <= 5; ++c)
        grid->setText(0, c, columnTitles[c - 1]);
    rebuildRows();
    fillGrid();
}

void CStatDetectorDlg::rebuildRows()
{
    grid->setRowCount(1 + static_cast<int>(detectors.size()));
    for (int r = 1; r < grid->rowCount(); ++r)
    {
        grid->setText(r, 0, QStringLiteral("Detector %1").arg(r));
        grid->setCellKind(r, 1, CGridCtrl::CellKind::dropDown, namesOf(StudyNames::detectorKinds()));
        grid->setCellKind(r, 2, CGridCtrl::CellKind::dropDown, directionNames);
        grid->setCellKind(r, 3, CGridCtrl::CellKind::dropDown, namesOf(StudyNames::vehicleTypes()));
        grid->setCellKind(r, 4, CGridCtrl::CellKind::integer);
        grid->setCellKind(r, 5, CGridCtrl::CellKind::integer);
    }
}

void CStatDetectorDlg::fillGrid()
{
    for (std::size_t i = 0; i < detectors.size(); ++i)
    {
        const CStatDetector& detector = *detectors[i];
        const int row = static_cast<int>(i) + 1;
        grid->setText(row, 1, nameOf(StudyNames::detectorKinds(), detector.getKind()));
        grid->setText(row, 2, QString::fromLatin1(StudyNames::direction(detector.isDirectionPositive())));
        grid->setText(row, 3, nameOf(StudyNames::vehicleTypes(), detector.getVehicleTypes()));
        grid->setNumber(row, 4, detector.getInterval());
        grid->setNumber(row, 5, detector.getLocation());
    }
}

void CStatDetectorDlg::addDetector()
{
    detectors.push_back(std::make_unique<CStatDetector>());
    rebuildRows();
    fillGrid();
}

void CStatDetectorDlg::deleteLastDetector()
{
    if (detectors.empty())
    {
        userDialogs().warn("No statistics detector to delete.");
        return;
    }
    detectors.pop_back();
    rebuildRows();
    fillGrid();
}

bool CStatDetectorDlg::endEdit(int row, int column)
{
    if (row < 1 || row > static_cast<int>(detectors.size()))
        return false;
    CStatDetector& detector = *detectors[static_cast<std::size_t>(row - 1)];
    const QString text = grid->text(row, column);
    if (column >= 1 && column <= 3 && text.isEmpty())
        return false;
    switch (column)
    {
    case 1: detector.setKind(codeOf(StudyNames::detectorKinds(), text)); return true;
    case 2: detector.setDirectionPositive(text == QLatin1String("Positive x")); return true;
    case 3: detector.setVehicleTypes(codeOf(StudyNames::vehicleTypes(), text)); return true;
    // The cell then shows the number stored, held within the range of an int.
    case 4:
        detector.setInterval(grid->truncatedNumber(row, column));
        grid->setNumber(row, column, detector.getInterval());
        return true;
    case 5:
        detector.setLocation(grid->truncatedNumber(row, column));
        grid->setNumber(row, column, detector.getLocation());
        return true;
    default: return false;
    }
}

void CStatDetectorDlg::validateData(int& badControlId, QString& message)
{
    if (const auto refusal = StudyChecks::checkStatDetectors(detectors, roadLength, userDialogs()))
    {
        message = QString::fromStdString(refusal->message);
        badControlId = refusal->controlId;
    }
}
