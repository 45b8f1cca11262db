#include "resultswindow/ChartPanel.h"

#include "charts/ChartExport.h"
#include "resultswindow/NavigableChartView.h"
#include "resultswindow/ResultsDialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

ChartPanel::ChartPanel(ResultChart chart, QString fileStem, const ResultsDialogs& resultsDialogs, QWidget* parent)
    : QWidget(parent), chartName(chart.name), stem(std::move(fileStem)), dialogs(resultsDialogs)
{
    setObjectName(chartName);
    chartView = new NavigableChartView(chart.chart.release(), this);
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumSize(460, 320);
    chartView->setToolTip(QStringLiteral("Wheel: zoom. Drag: move. Right-drag or Ctrl+drag: zoom into a rectangle. "
                                         "Double-click: whole chart."));

    pointerValue = new QLabel(this);
    pointerValue->setObjectName(QStringLiteral("pointerValue"));
    pointerValue->setTextFormat(Qt::PlainText);
    connect(chartView, &NavigableChartView::pointerValueChanged, pointerValue, &QLabel::setText);

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(pointerValue, 1);
    resetButton = new QPushButton(QStringLiteral("Whole Chart"), this);
    resetButton->setObjectName(QStringLiteral("resetView"));
    resetButton->setToolTip(QStringLiteral("Show the whole chart again after zooming or moving it"));
    resetButton->setEnabled(false);
    connect(resetButton, &QPushButton::clicked, chartView, &NavigableChartView::resetView);
    connect(chartView, &NavigableChartView::zoomChanged, resetButton, &QPushButton::setEnabled);
    navigation->addWidget(resetButton);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(new QLabel(QStringLiteral("Size:"), this));
    exportWidth = newSideBox(ChartExport::defaultSize.width(), QStringLiteral("exportWidth"),
                             QStringLiteral("Width of the saved or copied picture (pixels)"));
    buttons->addWidget(exportWidth);
    buttons->addWidget(new QLabel(QStringLiteral("\u00d7"), this));
    exportHeight = newSideBox(ChartExport::defaultSize.height(), QStringLiteral("exportHeight"),
                              QStringLiteral("Height of the saved or copied picture (pixels)"));
    buttons->addWidget(exportHeight);

    auto addButton = [&](const QString& text, const QString& tip, void (ChartPanel::*action)()) {
        auto* button = new QPushButton(text, this);
        button->setToolTip(tip);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
    };
    addButton(QStringLiteral("Save PNG..."), QStringLiteral("Save this chart as a PNG image"), &ChartPanel::savePng);
    addButton(QStringLiteral("Save SVG..."), QStringLiteral("Save this chart as an SVG drawing"), &ChartPanel::saveSvg);
    addButton(QStringLiteral("Copy"), QStringLiteral("Copy this chart to the clipboard"), &ChartPanel::copy);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chartView, 1);
    layout->addLayout(navigation);
    layout->addLayout(buttons);
}

ChartPanel::~ChartPanel() = default;

QSpinBox* ChartPanel::newSideBox(int value, const QString& name, const QString& tip)
{
    auto* box = new QSpinBox(this);
    box->setObjectName(name);
    box->setRange(smallestExportSide, largestExportSide);
    box->setValue(value);
    box->setSuffix(QStringLiteral(" px"));
    box->setToolTip(tip);
    return box;
}

QChart& ChartPanel::chart() const
{
    return *chartView->chart();
}

QSize ChartPanel::exportSize() const
{
    return {exportWidth->value(), exportHeight->value()};
}

void ChartPanel::setExportSize(QSize size)
{
    // The boxes hold each side to their range.
    exportWidth->setValue(size.width());
    exportHeight->setValue(size.height());
}

QString ChartPanel::pointerText() const
{
    return pointerValue->text();
}

QString ChartPanel::suggestion(const QString& extension) const
{
    return stem + QLatin1Char('-') + chartName + extension;
}

void ChartPanel::savePng()
{
    QString path = dialogs.chooseSaveFile(QStringLiteral("Save Chart as PNG"), QStringLiteral("PNG images (*.png)"),
                                          suggestion(QStringLiteral(".png")));
    if (!path.isEmpty() && !ChartExport::savePng(chart(), path, exportSize()))
        dialogs.warn(QStringLiteral("The chart could not be saved to %1.").arg(path));
}

void ChartPanel::saveSvg()
{
    QString path = dialogs.chooseSaveFile(QStringLiteral("Save Chart as SVG"), QStringLiteral("SVG drawings (*.svg)"),
                                          suggestion(QStringLiteral(".svg")));
    if (!path.isEmpty() && !ChartExport::saveSvg(chart(), path, exportSize()))
        dialogs.warn(QStringLiteral("The chart could not be saved to %1.").arg(path));
}

void ChartPanel::copy()
{
    ChartExport::copyToClipboard(chart(), exportSize());
}
