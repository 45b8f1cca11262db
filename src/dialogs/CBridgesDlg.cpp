#include "dialogs/CBridgesDlg.h"

#include "dialogs/CMessageTip.h"
#include "dialogs/CUserDialogs.h"
#include "document/StudyChecks.h"
#include "loadeffects/BridgeFields.h"
#include "widgets/CGridCtrl.h"

#include <QTableWidget>

namespace {
const QStringList columnTitles = {"Name",       "Start (m)",    "Span (m)",    "Effect",
                                  "Directions", "Interval (s)", "Lane Factors"};
const QStringList directionNames = {"1", "2", "both"};
constexpr double newSpan = 20.0;  // m

QString shown(const std::string& text)
{
    return QString::fromStdString(text);
}

int columnOfField(const std::string& field)
{
    using namespace BridgeFields;
    const std::pair<const char*, int> columns[] = {
        {name, CBridgesDlg::nameColumn},
        {start, CBridgesDlg::startColumn},
        {span, CBridgesDlg::spanColumn},
        {effect, CBridgesDlg::effectColumn},
        {directions, CBridgesDlg::directionsColumn},
        {interval, CBridgesDlg::intervalColumn},
        {laneFactors, CBridgesDlg::laneFactorsColumn},
    };
    for (const auto& [fieldName, column] : columns)
        if (field == fieldName)
            return column;
    return CBridgesDlg::nameColumn;
}

std::string unusedName(const BridgeSet& set)
{
    for (std::size_t n = set.bridges.size() + 1;; ++n)
    {
        const std::string name = "bridge" + std::to_string(n);
        bool used = false;
        for (const Bridge& bridge : set.bridges)
            used = used || bridge.name == name;
        if (!used)
            return name;
    }
}
}

CBridgesDlg::CBridgesDlg(const BridgeSet& studyBridges, const RoadLayout& studyRoad, QWidget* parent)
    : CDialogExt(parent), bridges(studyBridges), road(studyRoad), grid(new CGridCtrl)
{
    setWindowTitle(QStringLiteral("Bridges"));
    setControlId(grid, StudyChecks::gridControl);
    grid->onEndEdit = [](int, int) { return true; };
    layOutListEditor(grid, {QStringLiteral("Add Bridge"), 1029, [this] { addBridge(); }},
                     {QStringLiteral("Delete Last Bridge"), 1030, [this] { deleteLastBridge(); }}, 900, 420);
    grid->setColumnCount(columnCount);
    for (int c = nameColumn; c < columnCount; ++c)
        grid->setText(0, c, columnTitles[c - 1]);
    grid->setRowCount(1 + static_cast<int>(bridges.bridges.size()));
    for (int r = 1; r < grid->rowCount(); ++r)
        showBridge(r, bridges.bridges[static_cast<std::size_t>(r - 1)]);
}

void CBridgesDlg::setRowKinds(int row)
{
    grid->setText(row, 0, QStringLiteral("Bridge %1").arg(row));
    grid->setCellKind(row, nameColumn, CGridCtrl::CellKind::text);
    grid->setCellKind(row, startColumn, CGridCtrl::CellKind::decimal);
    grid->setCellKind(row, spanColumn, CGridCtrl::CellKind::decimal);
    grid->setCellKind(row, effectColumn, CGridCtrl::CellKind::text);
    grid->setCellKind(row, directionsColumn, CGridCtrl::CellKind::dropDown, directionNames);
    grid->setCellKind(row, intervalColumn, CGridCtrl::CellKind::decimal);
    grid->setCellKind(row, laneFactorsColumn, CGridCtrl::CellKind::text);
}

void CBridgesDlg::showBridge(int row, const Bridge& bridge)
{
    setRowKinds(row);
    grid->setText(row, nameColumn, shown(bridge.name));
    grid->setText(row, startColumn, shown(BridgeFields::formatNumber(bridge.start)));
    grid->setText(row, spanColumn, shown(BridgeFields::formatNumber(bridge.span)));
    grid->setText(row, effectColumn, shown(BridgeFields::formatEffect(bridge)));
    grid->setText(row, directionsColumn, shown(BridgeFields::formatDirections(bridge.directions)));
    grid->setText(row, intervalColumn, shown(BridgeFields::formatNumber(bridge.interval)));
    grid->setText(row, laneFactorsColumn, shown(BridgeFields::formatLaneFactors(bridge.laneFactors)));
}

void CBridgesDlg::addBridge()
{
    // The rows as edited so far name the bridges the new name must differ from.
    BridgeSet shownSet;
    for (int r = 1; r < grid->rowCount(); ++r)
    {
        Bridge named;
        named.name = grid->text(r, nameColumn).toStdString();
        shownSet.bridges.push_back(std::move(named));
    }
    Bridge bridge;
    bridge.name = unusedName(shownSet);
    bridge.span = newSpan;
    const int row = grid->rowCount();
    grid->setRowCount(row + 1);
    showBridge(row, bridge);
}

void CBridgesDlg::deleteLastBridge()
{
    if (grid->rowCount() <= 1)
    {
        userDialogs().warn("No bridge to delete.");
        return;
    }
    grid->setRowCount(grid->rowCount() - 1);
}

bool CBridgesDlg::readRow(int row, Bridge& bridge, int& badColumn, QString& problem) const
{
    const auto text = [&](int column) { return grid->text(row, column).toStdString(); };
    bridge.name = text(nameColumn);
    const std::pair<int, double*> numbers[] = {
        {startColumn, &bridge.start}, {spanColumn, &bridge.span}, {intervalColumn, &bridge.interval}};
    for (const auto& [column, value] : numbers)
        if (!BridgeFields::parseNumber(text(column), *value))
        {
            badColumn = column;
            problem = QStringLiteral("Enter a number.");
            return false;
        }
    if (!BridgeFields::parseEffect(text(effectColumn), bridge.effect, bridge.influenceFile))
    {
        badColumn = effectColumn;
        problem = QStringLiteral("Enter midspan-moment, support-shear, continuous-support-moment or file:PATH.");
        return false;
    }
    if (!BridgeFields::parseDirections(text(directionsColumn), bridge.directions))
    {
        badColumn = directionsColumn;
        problem = QStringLiteral("Choose 1, 2 or both.");
        return false;
    }
    std::string factorProblem;
    if (!BridgeFields::parseLaneFactors(text(laneFactorsColumn), bridge.laneFactors, factorProblem))
    {
        badColumn = laneFactorsColumn;
        problem = shown(factorProblem);
        return false;
    }
    return true;
}

void CBridgesDlg::validateData(int& badControlId, QString& message)
{
    badCell = QPoint();
    const auto refuse = [&](int row, int column, const QString& problem) {
        badCell = QPoint(column, row);
        badControlId = StudyChecks::gridControl;
        message = QStringLiteral("Bridge %1, %2: %3").arg(row).arg(columnTitles[column - 1], problem);
    };
    BridgeSet read;
    for (int r = 1; r < grid->rowCount(); ++r)
    {
        Bridge bridge;
        int column = nameColumn;
        QString problem;
        if (!readRow(r, bridge, column, problem))
            return refuse(r, column, problem);
        read.bridges.push_back(std::move(bridge));
    }
    std::vector<BridgeProblem> problems = read.check();
    if (problems.empty())
        problems = read.checkOn(road);
    if (!problems.empty())
    {
        const BridgeProblem& first = problems.front();
        return refuse(static_cast<int>(first.bridge) + 1, columnOfField(first.field), shown(first.message));
    }
    bridges = std::move(read);
}

QRect CBridgesDlg::cellRect(int row, int column) const
{
    QTableWidget* table = grid->table();
    const QTableWidgetItem* cell = table->item(row - 1, column - 1);
    if (!cell)
        return {grid->mapTo(this, QPoint(0, 0)), grid->size()};
    const QRect inViewport = table->visualItemRect(cell);
    return {table->viewport()->mapTo(this, inViewport.topLeft()), inViewport.size()};
}

void CBridgesDlg::accept()
{
    CDialogExt::accept();
    if (badCell.isNull())
        return;
    // Point at the cell itself rather than the whole grid.
    grid->table()->setCurrentCell(badCell.y() - 1, badCell.x() - 1);
    grid->table()->scrollToItem(grid->table()->item(badCell.y() - 1, badCell.x() - 1));
    CMessageTip* tip = getMessageTip();
    if (tip && tip->isShowing())
        tip->showTip(cellRect(badCell.y(), badCell.x()), tip->getText());
}
