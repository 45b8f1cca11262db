#include "dialogs/CRoadFeaturesDlg.h"

#include "config/CConfigData.h"
#include "dialogs/CGridCellTip.h"
#include "document/StudyChecks.h"
#include "document/StudyNames.h"

namespace {
constexpr int speedLimitType = 400;
constexpr int gradientType = 401;
const QStringList typeNames = {"Speed Limit", "Gradient"};
const QStringList directionNames = {"Positive x", "Negative x"};
const QStringList columnTitles = {"Type", "Direction", "Start (m)", "End (m)", "Value"};
constexpr double kmhToMs = 0.27777778;
}

CRoadFeaturesDlg::CRoadFeaturesDlg(const ItemList& studyFeatures, int length, QWidget* parent)
    : CListEditorDlg(studyFeatures,
                     {QStringLiteral("Road Features Configuration"),
                      QStringLiteral("Feature"),
                      {QStringLiteral("Add Feature"), 1025, {}},
                      {QStringLiteral("Delete Last Feature"), 1026, {}},
                      "No road feature to delete.",
                      columnTitles,
                      QSize(720, 360)},
                     parent),
      roadLength(length), maxGradient(theConfigData.maxGradient), minSpeedLimit(theConfigData.minSpeedLimit),
      maxSpeedLimit(theConfigData.maxSpeedLimit)
{
    new CGridCellTip(*getGrid(), *this);
    // Enough for any speed limit or gradient, too few for the error of the km/h factor.
    getGrid()->setColumnPrecision(5, 6);
    showItems();
}

void CRoadFeaturesDlg::setRowKinds(int row)
{
    CGridCtrl* grid = getGrid();
    grid->setCellKind(row, 1, CGridCtrl::CellKind::dropDown, typeNames);
    grid->setCellKind(row, 2, CGridCtrl::CellKind::dropDown, directionNames);
    grid->setCellKind(row, 3, CGridCtrl::CellKind::integer);
    grid->setCellKind(row, 4, CGridCtrl::CellKind::integer);
    grid->setCellKind(row, 5, CGridCtrl::CellKind::signedDecimal);
}

void CRoadFeaturesDlg::fillRow(int row, const CRoadFeature& feature)
{
    CGridCtrl* grid = getGrid();
    const bool gradient = feature.getType() == gradientType;
    grid->setText(row, 1, gradient ? typeNames[1] : typeNames[0]);
    grid->setText(row, 2, QString::fromLatin1(StudyNames::direction(feature.isDirectionPositive())));
    grid->setNumber(row, 3, feature.getStart());
    grid->setNumber(row, 4, feature.getEnd());
    showValue(row, feature);
}

void CRoadFeaturesDlg::showValue(int row, const CRoadFeature& feature)
{
    const bool gradient = feature.getType() == gradientType;
    getGrid()->setNumber(row, 5, gradient ? feature.getValue() : feature.getValue() * 3.6);
}

bool CRoadFeaturesDlg::editItem(CRoadFeature& feature, int row, int column)
{
    CGridCtrl* grid = getGrid();
    const QString text = grid->text(row, column);
    switch (column)
    {
    // Each cell then shows what was stored, clamped or converted, rather than what was typed.
    case 1:
        if (text.isEmpty())
            return false;
        feature.setType(text == QLatin1String("Gradient") ? gradientType : speedLimitType);
        // The stored number is kept; in the other unit it reads differently.
        showValue(row, feature);
        return true;
    case 2:
        if (text.isEmpty())
            return false;
        feature.setDirectionPositive(text == QLatin1String("Positive x"));
        return true;
    case 3:
        feature.setStart(grid->truncatedNumber(row, column));
        grid->setNumber(row, column, feature.getStart());
        return true;
    case 4:
        feature.setEnd(grid->truncatedNumber(row, column));
        grid->setNumber(row, column, feature.getEnd());
        return true;
    case 5:
    {
        const double value = grid->number(row, column);
        feature.setValue(feature.getType() == gradientType ? value : value * kmhToMs);
        showValue(row, feature);
        return true;
    }
    default: return false;
    }
}

void CRoadFeaturesDlg::validateData(int& badControlId, QString& message)
{
    report(StudyChecks::checkRoadFeatures(getItems(), roadLength, maxGradient, minSpeedLimit, maxSpeedLimit),
           badControlId, message);
}
