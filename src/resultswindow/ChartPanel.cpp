#include "resultswindow/ChartPanel.h"

#include "charts/ChartExport.h"
#include "resultswindow/ResultsDialogs.h"

#include <QChartView>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

ChartPanel::ChartPanel(ResultChart chart, QString fileStem, const ResultsDialogs& resultsDialogs, QWidget* parent)
    : QWidget(parent), chartName(chart.name), stem(std::move(fileStem)), dialogs(resultsDialogs)
{
    setObjectName(chartName);
    chartView = new QChartView(chart.chart.release(), this);
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumSize(460, 320);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
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
    layout->addLayout(buttons);
}

ChartPanel::~ChartPanel() = default;

QChart& ChartPanel::chart() const
{
    return *chartView->chart();
}

QString ChartPanel::suggestion(const QString& extension) const
{
    return stem + QLatin1Char('-') + chartName + extension;
}

void ChartPanel::savePng()
{
    QString path = dialogs.chooseSaveFile(QStringLiteral("Save Chart as PNG"), QStringLiteral("PNG images (*.png)"),
                                          suggestion(QStringLiteral(".png")));
    if (!path.isEmpty() && !ChartExport::savePng(chart(), path))
        dialogs.warn(QStringLiteral("The chart could not be saved to %1.").arg(path));
}

void ChartPanel::saveSvg()
{
    QString path = dialogs.chooseSaveFile(QStringLiteral("Save Chart as SVG"), QStringLiteral("SVG drawings (*.svg)"),
                                          suggestion(QStringLiteral(".svg")));
    if (!path.isEmpty() && !ChartExport::saveSvg(chart(), path))
        dialogs.warn(QStringLiteral("The chart could not be saved to %1.").arg(path));
}

void ChartPanel::copy()
{
    ChartExport::copyToClipboard(chart());
}
