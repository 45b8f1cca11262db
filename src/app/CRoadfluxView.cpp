#include "app/CRoadfluxView.h"

#include "app/CMemDC.h"
#include "app/CProgressBar.h"
#include "app/CRoadRenderer.h"
#include "app/CRunPacer.h"
#include "app/CStatusBar.h"
#include "app/CVehicleMark.h"
#include "app/CViewDocument.h"
#include "app/CWindowToBMP.h"
#include "config/CConfigData.h"
#include "dialogs/CMessageTip.h"
#include "dialogs/CUserDialogs.h"
#include "vehicles/Vehicle.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>

CRoadfluxView* CRoadfluxView::runningView = nullptr;

namespace {
int rounded(double v)
{
    return static_cast<int>(v + 0.5);
}
}

CRoadfluxView::CRoadfluxView(CViewDocument& study, const CMillisecondClock& wallClock, QWidget* parent)
    : QAbstractScrollArea(parent), document(study), clock(wallClock), colours(CRoadColours::fromConfig(theConfigData)),
      minViewScale(theConfigData.minViewScale), vehicleTipSeconds(theConfigData.vehicleTipTime),
      runControl(study.simulation(), wallClock, *this)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

CRoadfluxView::~CRoadfluxView()
{
    // A pane closed during its run hands the study's simulation back, files closed.
    if (runControl.isRunning())
        runControl.finishRun(false);
    if (runningView == this)
        runningView = nullptr;
    delete progressBar.data();
}

CProgressBar* CRoadfluxView::getProgressBar() const
{
    return progressBar.data();
}

void CRoadfluxView::initialUpdate()
{
    layout.worldWidth = 5000;
    layout.worldHeight = 100;
    updateLayout();
    if (!vehicleTip)
    {
        vehicleTip = new CMessageTip;
        vehicleTip->create(this);
        vehicleTip->setTimeout(static_cast<int>(vehicleTipSeconds * 1000.0 + 0.5));
    }
    viewport()->update();
}

void CRoadfluxView::updateLayout()
{
    layout.update(document.shape(), display);
    runControl.setStepMs(layout.stepMs);
    setScrollSizes(QSize(static_cast<int>(layout.worldWidth * display.viewScale),
                         static_cast<int>(layout.worldHeight * display.viewScale)));
}

void CRoadfluxView::refreshLayout()
{
    updateLayout();
    viewport()->update();
}

CViewMapping CRoadfluxView::mapping() const
{
    return CViewMapping(layout.worldWidth, layout.worldHeight, display.viewScale, display.borderLeft,
                        viewport()->size(), scrollPosition());
}

void CRoadfluxView::drawFrame(QPainter& painter, const QRect& clip, bool direct)
{
    const CViewMapping viewMapping = mapping();
    runControl.refreshClocks();
    CMemDC memDC(painter, clip, viewMapping.toDevice(), colours.backgroundColour, direct);
    CRoadRenderer renderer(memDC.dc(), display, layout, colours, viewMapping.clientHeight());

    VehicleMarkLists marks;
    const bool showVehicles = runControl.isRunning();
    if (showVehicles)
    {
        const VehicleLists& lists = runControl.getVehicleLists();
        marks.resize(lists.size());
        for (std::size_t i = 0; i < lists.size(); ++i)
        {
            marks[i].reserve(lists[i].size());
            for (const Vehicle* vehicle : lists[i])
                if (vehicle)
                    marks[i].push_back(CVehicleMark::of(*vehicle));
        }
    }
    const CClockValues clocks{runControl.getSimTime(), runControl.getRealElapsedMs()};
    renderer.drawFrame(document.scene(), showVehicles ? &marks : nullptr, clocks);
}

void CRoadfluxView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    drawFrame(painter, event->rect(), false);
}

void CRoadfluxView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void CRoadfluxView::scrollContentsBy(int, int)
{
    viewport()->update();
}

QPoint CRoadfluxView::scrollPosition() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CRoadfluxView::scrollTo(QPoint position)
{
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

void CRoadfluxView::setScrollSizes(QSize size)
{
    totalSize = size;
    updateScrollBars();
}

void CRoadfluxView::updateScrollBars()
{
    const QSize client = viewport()->size();
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    horizontal->setRange(0, std::max(0, totalSize.width() - client.width()));
    horizontal->setPageStep(std::max(1, client.width()));
    horizontal->setSingleStep(std::max(1, totalSize.width() / 100));
    vertical->setRange(0, std::max(0, totalSize.height() - client.height()));
    vertical->setPageStep(std::max(1, client.height()));
    vertical->setSingleStep(std::max(1, totalSize.height() / 100));
}

void CRoadfluxView::runVisible()
{
    runControl.runVisible();
    emit runStateChanged();
}

void CRoadfluxView::runInvisible()
{
    runControl.runInvisible();
    emit runStateChanged();
}

void CRoadfluxView::togglePause()
{
    runControl.togglePause();
    emit runStateChanged();
}

void CRoadfluxView::stop()
{
    runControl.finishRun(false);
    emit runStateChanged();
}

void CRoadfluxView::speedUp()
{
    runControl.speedUp();
}

void CRoadfluxView::slowDown()
{
    runControl.slowDown();
}

void CRoadfluxView::zoomIn()
{
    setViewScale(display.viewScale + 0.2);
}

void CRoadfluxView::zoomOut()
{
    setViewScale(display.viewScale - 0.2);
}

void CRoadfluxView::setViewScale(double scale)
{
    if (scale <= minViewScale)
    {
        userDialogs().warn("You cannot zoom out any further - minimum view scale is 0.1.");
        viewport()->update();
        return;
    }
    const double oldScale = display.viewScale;
    const QSize client = viewport()->size();
    const QPoint half(client.width() / 2, client.height() / 2);
    const QPoint centre = scrollPosition() + half;
    display.viewScale = scale;
    setScrollSizes(QSize(rounded(layout.worldWidth * scale), rounded(layout.worldHeight * scale)));
    const QPoint newCentre(rounded(centre.x() / oldScale * scale), rounded(centre.y() / oldScale * scale));
    scrollTo(newCentre - half);
    viewport()->update();
}

void CRoadfluxView::onTick(std::uint32_t nowMs)
{
    const bool wasRunning = runControl.isRunning();
    runControl.onTick(nowMs);
    if (wasRunning != runControl.isRunning())
        emit runStateChanged();
}

std::uint32_t CRoadfluxView::msUntilNextEvent(std::uint32_t nowMs) const
{
    return runControl.msUntilNextEvent(nowMs);
}

void CRoadfluxView::keyPressEvent(QKeyEvent* event)
{
    int x = horizontalScrollBar()->value();
    const int step = layout.roadLength / 10;
    switch (event->key())
    {
    case Qt::Key_End: x = totalSize.width(); break;
    case Qt::Key_Home: x = 0; break;
    case Qt::Key_Left: x -= step; break;
    case Qt::Key_Right: x += step; break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    horizontalScrollBar()->setValue(x);
    viewport()->update();
}

void CRoadfluxView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && runControl.isPaused())
        showVehicleAt(event->position().toPoint());
    QAbstractScrollArea::mousePressEvent(event);
    // Passed on to the parent, the click would reach the tip's watch for clicks and close it.
    event->accept();
}

void CRoadfluxView::showVehicleAt(const QPoint& clientPoint)
{
    const QPointF logical = mapping().mapToLogical(QPointF(clientPoint));
    const int x = static_cast<int>(logical.x() - display.borderLeft);
    const int y = static_cast<int>(logical.y());
    const int listIndex = layout.laneIndexAt(y, display.laneWidth);
    if (listIndex < 0)
        return;
    const Vehicle* vehicle = findVehicleAt(listIndex, x);
    if (!vehicle || !vehicleTip)
        return;
    const QRect target(viewport()->mapTo(this, clientPoint), QSize(100, 100));
    vehicleTip->showTip(target, QString::fromStdString(vehicle->getVehicleData()));
}

const Vehicle* CRoadfluxView::findVehicleAt(int listIndex, int x) const
{
    const VehicleLists& lists = runControl.getVehicleLists();
    if (listIndex < 0 || static_cast<std::size_t>(listIndex) >= lists.size())
        return nullptr;
    for (const Vehicle* vehicle : lists[static_cast<std::size_t>(listIndex)])
    {
        if (!vehicle)
            continue;
        const int p = static_cast<int>(vehicle->getRoadX());
        const int len = static_cast<int>(vehicle->getLength() * display.vehicleLengthScale);
        const bool hit = vehicle->isDirectionPositive() ? (p - len < x && x < p) : (p < x && x < p + len);
        if (hit)
            return vehicle;
    }
    return nullptr;
}

void CRoadfluxView::saveImage()
{
    const QString fileName = userDialogs().chooseSaveFile(
        QStringLiteral("Save Image"), QStringLiteral("Bitmap files (*.bmp)"), QStringLiteral("bmp"), QString());
    if (fileName.isEmpty())
        return;
    viewport()->repaint();
    if (CWindowToBMP().saveWindow(this, fileName))
        userDialogs().inform("Image saved.");
    else
        userDialogs().warn("Image saving failed.");
}

void CRoadfluxView::print(QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    drawFrame(painter, QRect(QPoint(0, 0), viewport()->size()), true);
    painter.end();
}

void CRoadfluxView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    emit activated(this);
}

void CRoadfluxView::invalidate(bool)
{
    // Qt paints through its own back buffer: there is no erase step that could flicker.
    viewport()->update();
    emit frameRequested();
}

void CRoadfluxView::runStarted()
{
    delete progressBar.data();
    progressBar = new CProgressBar;
    // Without a status bar the run goes on without its progress bar.
    progressBar->create(findStatusBar(), QStringLiteral("Percent Complete 0%"), 100, 100, false, 0);
}

void CRoadfluxView::progressRose(int percent)
{
    if (progressBar)
    {
        progressBar->setText(QString::asprintf("%d%% complete", percent));
        progressBar->stepIt();
        // An invisible run gives the event loop no chance to paint.
        if (runControl.isInvisibleRun())
            progressBar->repaint();
    }
    // The frame shows no percentage: a visible run repaints it every 50 ms whatever the
    // progress, and an invisible run draws nothing until it ends.
}

void CRoadfluxView::warpMeasured(double achievedWarp)
{
    if (CStatusBar* statusBar = findStatusBar())
        statusBar->showAchievedWarp(achievedWarp, runControl.getTimeWarpFactor());
}

void CRoadfluxView::pauseChanged(bool paused)
{
    CStatusBar* statusBar = findStatusBar();
    if (!statusBar)
        return;
    // The warp of before the pause no longer holds; a new one is measured once the run goes on.
    if (paused)
        statusBar->showPaused();
    else
        statusBar->hideAchievedWarp();
}

void CRoadfluxView::runEnded()
{
    delete progressBar.data();
    if (CStatusBar* statusBar = findStatusBar())
        statusBar->hideAchievedWarp();
}

bool CRoadfluxView::otherRunInProgress() const
{
    return runningView && runningView != this;
}

void CRoadfluxView::simRunningChanged(bool running)
{
    if (running)
    {
        runningView = this;
        CRunPacer::instance().wake();
    }
    else if (runningView == this)
        runningView = nullptr;
    emit simulationBusy(running);
}

CStatusBar* CRoadfluxView::findStatusBar() const
{
    return window()->findChild<CStatusBar*>();
}
