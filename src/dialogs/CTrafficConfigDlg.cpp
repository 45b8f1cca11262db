#include "dialogs/CTrafficConfigDlg.h"

#include "dialogs/CDialogExt.h"
#include "dialogs/CGridCellTip.h"
#include "document/StudyChecks.h"
#include "document/StudyNames.h"
#include "widgets/CGridCtrl.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {
QStringList namesOf(const std::vector<StudyNames::Named>& list)
{
    QStringList names;
    for (const StudyNames::Named& entry : list)
        names.append(QString::fromLatin1(entry.name));
    return names;
}

const QStringList columnTitles = {"Distribution", "Location", "Scale", "Shape"};
}

const QStringList& CTrafficConfigDlg::classNames()
{
    static const QStringList names = {"Class 0 - Cars", "Class 1 - Small Truck", "Class 2 - Large Truck",
                                      "Class 3 - Crane", "Class 4 - Low-loader"};
    return names;
}

CTrafficConfigDlg::CTrafficConfigDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("IDM Traffic Model Configuration"));
    classBox = new QComboBox;
    classBox->addItems(classNames());
    CDialogExt::setControlId(classBox, 1011);
    auto* copy = new QPushButton(QStringLiteral("<< Copy from <<"));
    CDialogExt::setControlId(copy, 1012);
    sourceBox = new QComboBox;
    sourceBox->addItems(classNames());
    CDialogExt::setControlId(sourceBox, 1013);
    grid = new CGridCtrl;
    CDialogExt::setControlId(grid, 1010);
    grid->onEndEdit = [this](int row, int column) { return endEdit(row, column); };
    cellTip = new CGridCellTip(*grid, *this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("IDM Parameters for Vehicle Class")));
    top->addWidget(classBox);
    top->addWidget(copy);
    top->addWidget(sourceBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CTrafficConfigDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid, 1);
    layout->addWidget(buttons);
    resize(820, 400);

    connect(classBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            selectClass(index);
    });
    connect(sourceBox, &QComboBox::currentIndexChanged, this, [this](int index) { sourceSet = index; });
    connect(copy, &QPushButton::clicked, this, &CTrafficConfigDlg::copyFromSource);
}

void CTrafficConfigDlg::initialise()
{
    grid->setRowCount(11);
    grid->setColumnCount(5);
    for (int c = 1; c <= 4; ++c)
        grid->setText(0, c, columnTitles[c - 1]);
    const QStringList parameterNames = namesOf(StudyNames::parameters());
    const QStringList distributionNames = namesOf(StudyNames::distributions());
    for (int r = 1; r <= 10; ++r)
    {
        grid->setText(r, 0, parameterNames.value(r - 1));
        grid->setCellKind(r, 1, CGridCtrl::CellKind::dropDown, distributionNames);
        for (int c = 2; c <= 4; ++c)
            grid->setCellKind(r, c, CGridCtrl::CellKind::signedDecimal);
    }
    currentSet = 0;
    const QSignalBlocker blockClass(classBox);
    const QSignalBlocker blockSource(sourceBox);
    classBox->setCurrentIndex(0);
    sourceBox->setCurrentIndex(-1);
    sourceSet = -1;
    fillGrid();
}

CParameter& CTrafficConfigDlg::parameter(int index)
{
    return parameterOf(currentSet, index);
}

CParameter& CTrafficConfigDlg::parameterOf(int vehicleClass, int index)
{
    CIDMParameterSet& set = parameterSets[static_cast<std::size_t>(vehicleClass)];
    switch (index)
    {
    case 0: return set.getParamT();
    case 1: return set.getParamA();
    case 2: return set.getParamB();
    case 3: return set.getParamS0();
    case 4: return set.getParamS1();
    case 5: return set.getParamV0();
    case 6: return set.getParamDelta();
    case 7: return set.getParamP();
    case 8: return set.getParamDeltaAbias();
    default: return set.getParamDeltaAth();
    }
}

void CTrafficConfigDlg::fillGrid()
{
    for (int r = 1; r <= 10; ++r)
    {
        const CDistribution& distribution = parameter(r - 1).getDistribution();
        grid->setText(r, 1,
                      QString::fromStdString(StudyNames::nameOf(StudyNames::distributions(), distribution.getType())));
        for (int c = 2; c <= 4; ++c)
            grid->setNumber(r, c, numberOf(distribution, c));
    }
}

void CTrafficConfigDlg::selectClass(int vehicleClass)
{
    if (vehicleClass < 0 || vehicleClass >= classCount)
        return;
    currentSet = vehicleClass;
    if (classBox->currentIndex() != vehicleClass)
    {
        const QSignalBlocker block(classBox);
        classBox->setCurrentIndex(vehicleClass);
    }
    fillGrid();
}

void CTrafficConfigDlg::selectSource(int vehicleClass)
{
    sourceBox->setCurrentIndex(vehicleClass);
}

void CTrafficConfigDlg::copyFromSource()
{
    if (sourceSet < 0 || sourceSet == currentSet)
        return;
    CIDMParameterSet& target = parameterSets[static_cast<std::size_t>(currentSet)];
    // The shown class keeps its own class number; only the ten parameters are copied.
    const int ownClass = target.getVehicleClass();
    target.assign(parameterSets[static_cast<std::size_t>(sourceSet)]);
    target.setVehicleClass(ownClass);
    fillGrid();
}

bool CTrafficConfigDlg::endEdit(int row, int column)
{
    if (row < 1 || row > 10)
        return false;
    CDistribution& distribution = parameter(row - 1).getDistribution();
    const QString text = grid->text(row, column);
    switch (column)
    {
    case 1:
    {
        if (text.isEmpty())
            return false;
        const auto code = StudyNames::codeOf(StudyNames::distributions(), text.toStdString());
        distribution.setType(code.value_or(207));
        return true;
    }
    case 2: distribution.setLocation(grid->number(row, column)); break;
    case 3: distribution.setScale(grid->number(row, column)); break;
    case 4: distribution.setShape(grid->number(row, column)); break;
    default: return false;
    }
    grid->setNumber(row, column, numberOf(distribution, column));
    return true;
}

double CTrafficConfigDlg::numberOf(const CDistribution& distribution, int column)
{
    switch (column)
    {
    case 2: return distribution.getLocation();
    case 3: return distribution.getScale();
    default: return distribution.getShape();
    }
}

void CTrafficConfigDlg::accept()
{
    // Only a study written elsewhere or damaged holds such a number: the grid refuses to take one.
    for (int k = 0; k < classCount; ++k)
        for (int row = 1; row <= 10; ++row)
            for (int column = 2; column <= 4; ++column)
            {
                if (std::isfinite(numberOf(parameterOf(k, row - 1).getDistribution(), column)))
                    continue;
                selectClass(k);
                cellTip->pointAt(row, column, QStringLiteral("This number is not finite: please enter another."));
                return;
            }
    // The runner refuses such sets too: every draw of them would be redrawn or replaced.
    if (const auto flaw = StudyChecks::findUnusableParameter(parameterSets))
    {
        selectClass(flaw->vehicleClass);
        cellTip->pointAt(flaw->parameter + 1, flaw->field + 1, QString::fromStdString(flaw->message));
        return;
    }
    QDialog::accept();
}
