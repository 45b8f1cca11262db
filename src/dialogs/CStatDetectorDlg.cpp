#include "dialogs/CStatDetectorDlg.h"

#include "document/StudyChecks.h"
#include "document/StudyNames.h"

namespace {
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

CStatDetectorDlg::CStatDetectorDlg(const ItemList& studyDetectors, int length, QWidget* parent)
    : CListEditorDlg(studyDetectors,
                     {QStringLiteral("Macroscopic Traffic Flow Metrics Detectors"),
                      QStringLiteral("Detector"),
                      {QStringLiteral("Add Detector"), 1027, {}},
                      {QStringLiteral("Delete Last Detector"), 1028, {}},
                      "No statistics detector to delete.",
                      columnTitles,
                      QSize(860, 420)},
                     parent),
      roadLength(length)
{
    showItems();
}

void CStatDetectorDlg::setRowKinds(int row)
{
    CGridCtrl* grid = getGrid();
    grid->setCellKind(row, 1, CGridCtrl::CellKind::dropDown, namesOf(StudyNames::detectorKinds()));
    grid->setCellKind(row, 2, CGridCtrl::CellKind::dropDown, directionNames);
    grid->setCellKind(row, 3, CGridCtrl::CellKind::dropDown, namesOf(StudyNames::vehicleTypes()));
    grid->setCellKind(row, 4, CGridCtrl::CellKind::integer);
    grid->setCellKind(row, 5, CGridCtrl::CellKind::integer);
}

void CStatDetectorDlg::fillRow(int row, const CStatDetector& detector)
{
    CGridCtrl* grid = getGrid();
    grid->setText(row, 1, nameOf(StudyNames::detectorKinds(), detector.getKind()));
    grid->setText(row, 2, QString::fromLatin1(StudyNames::direction(detector.isDirectionPositive())));
    grid->setText(row, 3, nameOf(StudyNames::vehicleTypes(), detector.getVehicleTypes()));
    grid->setNumber(row, 4, detector.getInterval());
    grid->setNumber(row, 5, detector.getLocation());
}

bool CStatDetectorDlg::editItem(CStatDetector& detector, int row, int column)
{
    CGridCtrl* grid = getGrid();
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
    report(StudyChecks::checkStatDetectors(getItems(), roadLength, userDialogs()), badControlId, message);
}
