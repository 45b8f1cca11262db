#pragma once
// The road view: draws the study's road with its vehicles in a scrolling window, zooms and
// scrolls, runs the simulation visibly or invisibly, shows a clicked vehicle's data while paused
// and saves or prints its picture. Every pane of the main window is a view of its own.

#include "app/CDisplaySettings.h"
#include "app/CRoadColours.h"
#include "app/CRoadLayout.h"
#include "app/CRunControl.h"
#include "app/CRunObserver.h"
#include "app/CViewMapping.h"

#include <QAbstractScrollArea>
#include <QPointer>

class CMessageTip;
class CProgressBar;
class CStatusBar;
class CViewDocument;
class QPainter;
class QPrinter;
class Vehicle;

class CRoadfluxView : public QAbstractScrollArea, private CRunObserver
{
    Q_OBJECT

public:
    explicit CRoadfluxView(CViewDocument& document, const CMillisecondClock& clock, QWidget* parent = nullptr);
    ~CRoadfluxView() override;

    // The framework's first update for a new or opened document.
    void initialUpdate();
    void updateLayout();
    // After a dialog changed the study's shape or the display settings.
    void refreshLayout();

    // One frame onto a painter of the view's window, a printer or an image. clip: device pixels.
    void drawFrame(QPainter& painter, const QRect& clip, bool direct);

    void runVisible();
    void runInvisible();
    void togglePause();
    void stop();
    void speedUp();
    void slowDown();
    void zoomIn();
    void zoomOut();
    void setViewScale(double scale);
    void onTick(std::uint32_t nowMs);
    std::uint32_t msUntilNextEvent(std::uint32_t nowMs) const;
    std::uint32_t clockNow() const { return clock.now(); }

    // The vehicle of lane list listIndex whose drawn body covers road position x (m), if any.
    const Vehicle* findVehicleAt(int listIndex, int x) const;
    // Saves the view's picture as a bitmap file, asking for the name.
    void saveImage();
    void print(QPrinter& printer);

    bool isRunning() const { return runControl.isRunning(); }
    bool isPaused() const { return runControl.isPaused(); }
    const CRunControl& getRunControl() const { return runControl; }
    CRunControl& getRunControl() { return runControl; }
    CDisplaySettings& displaySettings() { return display; }
    const CDisplaySettings& displaySettings() const { return display; }
    const CRoadLayout& getLayout() const { return layout; }
    double getMinViewScale() const { return minViewScale; }
    QSize scrollSizes() const { return totalSize; }
    QPoint scrollPosition() const;
    void scrollTo(QPoint position);
    CViewMapping mapping() const;
    CViewDocument& getDocument() { return document; }
    CProgressBar* getProgressBar() const;

    // The view whose run uses the study's simulation, or null.
    static CRoadfluxView* viewRunning() { return runningView; }

signals:
    void runStateChanged();
    void activated(CRoadfluxView* view);
    // The study's simulation became busy, or free again.
    void simulationBusy(bool busy);
    // A run reached its end and the user was told so.
    void runCompleted();
    // A frame of the run is due: the run's other displays follow at the same rate.
    void frameRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void invalidate(bool erase) override;
    void runStarted() override;
    void progressRose(int percent) override;
    void warpMeasured(double achievedWarp) override;
    void pauseChanged(bool paused) override;
    void runEnded() override;
    bool otherRunInProgress() const override;
    void simRunningChanged(bool running) override;
    void runFinished() override { emit runCompleted(); }

    void setScrollSizes(QSize size);
    void updateScrollBars();
    CStatusBar* findStatusBar() const;
    void showVehicleAt(const QPoint& clientPoint);

    CViewDocument& document;
    const CMillisecondClock& clock;
    CDisplaySettings display;
    CRoadLayout layout;
    CRoadColours colours;
    double minViewScale;
    double vehicleTipSeconds;
    QSize totalSize;
    CRunControl runControl;
    // Owned by the view, though it sits in the status bar, which may go first.
    QPointer<CProgressBar> progressBar;
    QPointer<CMessageTip> vehicleTip;

    static CRoadfluxView* runningView;
};
