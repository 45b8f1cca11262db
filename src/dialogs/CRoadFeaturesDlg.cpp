#include "dialogs/CRoadFeaturesDlg.h"

#include "app/CUserDialogs.h"
#include "config/CConfigData.h"
#include "dialogs/CGridCellTip.h"
#include "document/StudyChecks.h"
#include "document/StudyNames.h"
#include "widgets/CGridCtrl.h"

namespace
{
constexpr int speedLimitType = 400;
constexpr int gradientType = 401;
const QStringList typeNames = {"Speed Limit", "Gradient"};
const QStringList directionNames = {"Positive x", "Negative x"};
const QStringList columnTitles = {"Type", "Direction", "Start (m)", "End (m)", "Value"};
constexpr double kmhToMs = 0.27777778;
}

CRoadFeaturesDlg::CRoadFeaturesDlg(const FeatureList& studyFeatures, int length, QWidget* parent)
    : CDialogExt(parent),
      roadLength(length),
      maxGradient(theConfigData.maxGradient),
      minSpeedLimit(theConfigData.minSpeedLimit),
      maxSpeedLimit(theConfigData.maxSpeedLimit),
      grid(new CGridCtrl)
{
    setWindowTitle(QStringLiteral("Road Features Configuration"));
    for (const auto& feature : studyFeatures)
        features.push_back(std::make_unique<CRoadFeature>(*feature));

    setControlId(grid, StudyChecks::gridControl);
    grid->onEndEdit = [this](int row, int column) { return endEdit(row, column); };
    new CGridCellTip(*grid, *this);
    layOutListEditor(grid, {QStringLiteral("Add Feature"), 1025, [this] { addFeature(); }},
                     {QStringLiteral("Delete Last Feature"), 1026, [this] { deleteLastFeature(); }},
                     720, 360);

    grid->setColumnCount(6);
    grid->reserveLabelWidth(QStringLiteral("Feature 99"));
    // Enough for any speed limit or gradient, too few for the error of the km/h factor.
    grid->setColumnPrecision(5, 6);
    for (int c = 1; c <= 5; ++c)
        grid->setText(0, c, columnTitles[c - 1]);
    rebuildRows();
    fillGrid();
}

void CRoadFeaturesDlg::rebuildRows()
{
    grid->setRowCount(1 + static_cast<int>(features.size()));
    for (int r = 1; r < grid->rowCount(); ++r)
    {
        grid->setText(r, 0, QStringLiteral("Feature %1").arg(r));
        grid->setCellKind(r, 1, CGridCtrl::CellKind::dropDown, typeNames);
        grid->setCellKind(r, 2, CGridCtrl::CellKind::dropDown, directionNames);
        grid->setCellKind(r, 3, CGridCtrl::CellKind::integer);
        grid->setCellKind(r, 4, CGridCtrl::CellKind::integer);
        grid->setCellKind(r, 5, CGridCtrl::CellKind::signedDecimal);
    }
}

void CRoadFeaturesDlg::fillGrid()
{
    for (std::size_t i = 0; i < features.size(); ++i)
    {
        const CRoadFeature& feature = *features[i];
        const int row = static_cast<int>(i) + 1;
        const bool gradient = feature.getType() == gradientType;
        grid->setText(row, 1, gradient ? typeNames[1] : typeNames[0]);
        grid->setText(row, 2, QString::fromLatin1(StudyNames::direction(feature.isDirectionPositive())));
        grid->setNumber(row, 3, feature.getStart());
        grid->setNumber(row, 4, feature.getEnd());
        showValue(row);
    }
}

void CRoadFeaturesDlg::showValue(int row)
{
    const CRoadFeature& feature = *features[static_cast<std::size_t>(row - 1)];
    const bool gradient = feature.getType() == gradientType;
    grid->setNumber(row, 5, gradient ? feature.getValue() : feature.getValue() * 3.6);
}

void CRoadFeaturesDlg::addFeature()
{
    features.push_back(std::make_unique<CRoadFeature>());
    rebuildRows();
    fillGrid();
}

void CRoadFeaturesDlg::deleteLastFeature()
{
    if (features.empty())
    {
        userDialogs().warn("No road feature to delete.");
        return;
    }
    features.pop_back();
    rebuildRows();
    fillGrid();
}

bool CRoadFeaturesDlg::endEdit(int row, int column)
{
    if (row < 1 || row > static_cast<int>(features.size()))
        return false;
    CRoadFeature& feature = *features[static_cast<std::size_t>(row - 1)];
    const QString text = grid->text(row, column);
    switch (column)
    {
    // Each cell then shows what was stored, clamped or converted, rather than what was typed.
    case 1:
        if (text.isEmpty())
            return false;
        feature.setType(text == QLatin1String("Gradient") ? gradientType : speedLimitType);
        // The stored number is kept; in the other unit it reads differently.
        showValue(row);
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
        showValue(row);
        return true;
    }
    default: return false;
    }
}

void CRoadFeaturesDlg::validateData(int& badControlId, QString& message)
{
    if (const auto refusal =
            StudyChecks::checkRoadFeatures(features, roadLength, maxGradient, minSpeedLimit, maxSpeedLimit))
    {
        message = QString::fromStdString(refusal->message);
        badControlId = refusal->controlId;
    }
}
