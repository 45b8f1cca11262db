// Frames rendered into images, with colours checked at device pixels computed here from the
// drawing rules: road and markings, features, detectors, vehicles of every class in their lane
// bands, for both drive sides, two zoom levels and a scroll position.

#include "FakeStudy.h"
#include "RecordingDialogs.h"
#include "app/CRoadfluxView.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {
const QColor road(200, 200, 200);
const QColor black(0, 0, 0);
const QColor white(255, 255, 255);
const QColor blue(0, 0, 255);
const QColor red(255, 0, 0);
const QColor green(0, 255, 0);
const QColor yellow(255, 255, 0);
const QColor grey(100, 100, 100);

// Logical units to device pixels, as the view's anisotropic mapping places them.
struct ExpectedMapping
{
    double sx, sy, ox, oy;

    ExpectedMapping(int worldWidth, int worldHeight, double scale, double borderLeft, int clientHeight, QPoint scroll)
    {
        sx = static_cast<int>(worldWidth * scale) / static_cast<double>(worldWidth);
        sy = static_cast<int>(worldHeight * scale) / static_cast<double>(worldHeight);
        ox = static_cast<int>(borderLeft * scale) - scroll.x();
        oy = clientHeight / 2 - scroll.y();
    }
    int x(double logical) const { return static_cast<int>(std::floor(logical * sx + ox)); }
    int y(double logical) const { return static_cast<int>(std::floor(logical * sy + oy)); }
};

class ViewRendering : public ::testing::Test
{
protected:
    static constexpr int clientWidth = 800;
    static constexpr int clientHeight = 400;

    void SetUp() override { study.roadScene.outputDetectorLocation1 = study.roadScene.outputDetectorLocation2 = 2900; }

    // A shown view of the study, laid out, with the given zoom and scroll position.
    std::unique_ptr<CRoadfluxView> makeView(double scale = 1.0, QPoint scroll = {})
    {
        auto view = std::make_unique<CRoadfluxView>(study, clock);
        view->show();
        view->resize(clientWidth + 200, clientHeight + 200);
        view->initialUpdate();
        // The client area is exactly clientWidth x clientHeight, whatever the scroll bars take.
        view->resize(view->size() - view->viewport()->size() + QSize(clientWidth, clientHeight));
        view->displaySettings().showVelocities = false;
        if (scale != 1.0)
            view->setViewScale(scale);
        view->scrollTo(scroll);
        return view;
    }

    static QImage render(CRoadfluxView& view)
    {
        QImage image(view.viewport()->size(), QImage::Format_RGB32);
        QPainter painter(&image);
        view.drawFrame(painter, image.rect(), false);
        return image;
    }

    static QColor at(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

    // Pixels of text drawn in black: its glyphs' edges are smoothed, their cores dark.
    static int countDark(const QImage& image, QRect area)
    {
        int count = 0;
        area = area.intersected(image.rect());
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (at(image, x, y).lightness() < 90)
                    ++count;
        return count;
    }

    static int countColour(const QImage& image, const QColor& colour, QRect area)
    {
        int count = 0;
        area = area.intersected(image.rect());
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (at(image, x, y) == colour)
                    ++count;
        return count;
    }

    ExpectedMapping mappingOf(const CRoadfluxView& view) const
    {
        const CRoadLayout& layout = view.getLayout();
        return ExpectedMapping(layout.worldWidth, layout.worldHeight, view.displaySettings().viewScale,
                               view.displaySettings().borderLeft, clientHeight, view.scrollPosition());
    }

    // Starts a visible run and makes one step, so that the view holds the study's vehicles.
    void stepOnce(CRoadfluxView& view)
    {
        view.runVisible();
        clock.time += 200;
        view.onTick(clock.time);
    }

    RecordingDialogs dialogs;
    ManualClock clock;
    FakeStudy study;
};
}

TEST_F(ViewRendering, RoadEdgesSeparatorsAndSolidCentreLine)
{
    auto view = makeView();
    const QImage image = render(*view);
    const ExpectedMapping m = mappingOf(*view);

    EXPECT_EQ(at(image, m.x(120), m.y(60)), road);
    EXPECT_EQ(at(image, m.x(120), m.y(-20)), road);
    EXPECT_EQ(at(image, m.x(120), m.y(-60)), white);  // above the road
    EXPECT_EQ(at(image, m.x(300), m.y(-40)), black);  // top edge
    EXPECT_EQ(at(image, m.x(300), m.y(80)), black);   // bottom edge

    // The centre line between the directions is solid; the lane separator of direction 1 dashed.
    const int centreRow = m.y(0);
    EXPECT_EQ(countColour(image, black, QRect(m.x(40), centreRow, 600, 1)), 600);
    const int separatorRow = m.y(40);
    const int dashes = countColour(image, black, QRect(m.x(40), separatorRow, 240, 1));
    EXPECT_GT(dashes, 120);
    EXPECT_LT(dashes, 240);

    // Ticks every 500 m below the road, starting at the road's start.
    EXPECT_EQ(at(image, m.x(20), m.y(85)), black);
    EXPECT_EQ(at(image, m.x(520), m.y(85)), black);
    EXPECT_EQ(at(image, m.x(270), m.y(85)), white);
}

TEST_F(ViewRendering, OneDirectionRoadHasNoSolidCentreLine)
{
    study.studyShape.lanesDir2 = 0;
    study.studyShape.totalLanes = 2;
    study.studyShape.numDirections = 1;
    auto view = makeView();
    const QImage image = render(*view);
    const ExpectedMapping m = mappingOf(*view);
    EXPECT_EQ(view->getLayout().yTop, 0);
    // y = 0 is now the top edge; the separator between the two lanes is dashed.
    EXPECT_EQ(countColour(image, black, QRect(m.x(40), m.y(0), 600, 1)), 600);
    const int dashes = countColour(image, black, QRect(m.x(40), m.y(40), 240, 1));
    EXPECT_GT(dashes, 120);
    EXPECT_LT(dashes, 240);
}

TEST_F(ViewRendering, FeaturesAreHatchedBoxesWithThickEndsAndLabels)
{
    study.roadScene.features = {{400, true, 100, 400, 41.7}, {401, false, 500, 700, 5.0}};
    auto view = makeView();
    const QImage image = render(*view);
    const ExpectedMapping m = mappingOf(*view);

    // Speed limit over direction 1's two lanes: cross-hatched red on the road, red ends.
    const QRect speedBox(m.x(180), m.y(5), 60, 30);
    EXPECT_GT(countColour(image, red, speedBox), 100);
    EXPECT_GT(countColour(image, road, speedBox), 600);
    EXPECT_EQ(at(image, m.x(120), m.y(30)), red);
    EXPECT_EQ(at(image, m.x(420), m.y(30)), red);
    // Its label "150 km/h" sits half a lane below the middle of the box.
    EXPECT_GT(countDark(image, QRect(m.x(240), m.y(40), 60, 30)), 10);

    // Gradient over direction 2's one lane, above the centre line: vertical green hatching.
    const QRect gradientBox(m.x(540), m.y(-35), 40, 12);
    EXPECT_GT(countColour(image, green, gradientBox), 40);
    EXPECT_GT(countColour(image, road, gradientBox), 200);
    EXPECT_EQ(at(image, m.x(520), m.y(-10)), green);
    EXPECT_EQ(at(image, m.x(720), m.y(-10)), green);
    // No feature below the centre line there.
    EXPECT_EQ(countColour(image, green, QRect(m.x(540), m.y(45), 40, 20)), 0);
}

TEST_F(ViewRendering, DetectorLinesInTheirColoursAndTheLaneChangeLabel)
{
    study.roadScene.outputDetectorLocation1 = 250;
    study.roadScene.outputDetectorLocation2 = 350;
    study.roadScene.detectors = {{
                                     511,
                                     true,
                                     150,
                                 },
                                 {512, false, 450},
                                 {510, true, 600},
                                 {513, true, 100}};
    auto view = makeView();
    const QImage image = render(*view);
    const ExpectedMapping m = mappingOf(*view);

    EXPECT_EQ(at(image, m.x(270), m.y(60)), yellow);  // output detector, direction 1, lower carriageway
    EXPECT_EQ(at(image, m.x(270), m.y(-20)), road);
    EXPECT_EQ(at(image, m.x(370), m.y(-20)), yellow);  // output detector, direction 2, upper carriageway
    EXPECT_EQ(at(image, m.x(370), m.y(60)), road);
    EXPECT_EQ(at(image, m.x(170), m.y(60)), blue);    // headway
    EXPECT_EQ(at(image, m.x(470), m.y(-20)), black);  // composition
    EXPECT_EQ(at(image, m.x(620), m.y(60)), green);   // flow and density
    EXPECT_EQ(at(image, m.x(120), m.y(60)), road);    // a lane-change detector draws no line
    // "LC" left of the road start, level with the middle of direction 1's carriageway.
    EXPECT_GT(countDark(image, QRect(0, m.y(40) - 8, m.x(20), 16)), 5);
}

TEST_F(ViewRendering, VehiclesOfEachClassInTheirLaneBandsDrivingOnTheRight)
{
    study.addVehicle(1, true, 100, 10, 0);
    study.addVehicle(2, true, 200, 10, 1);
    study.addVehicle(3, false, 300, 10, 2);
    study.addVehicle(1, true, 400, 10, 3);
    study.addVehicle(2, true, 500, 10, 4);
    study.addVehicle(1, true, 600, 10, 9);  // unknown class: drawn as a car
    auto view = makeView();
    stepOnce(*view);
    const QImage image = render(*view);
    const ExpectedMapping m = mappingOf(*view);

    // Direction 1's bodies extend back from the front (20 logical units at length scale 2).
    EXPECT_EQ(at(image, m.x(110), m.y(60)), black);
    EXPECT_EQ(at(image, m.x(125), m.y(60)), road);  // in front of the first car
    EXPECT_EQ(at(image, m.x(210), m.y(20)), blue);
    // Direction 2's body lies to the right of its front, in the top band.
    EXPECT_EQ(at(image, m.x(330), m.y(-20)), red);
    EXPECT_EQ(at(image, m.x(310), m.y(-20)), road);
    EXPECT_EQ(at(image, m.x(410), m.y(60)), green);
    EXPECT_EQ(at(image, m.x(510), m.y(20)), grey);
    EXPECT_EQ(at(image, m.x(610), m.y(60)), black);
    // 30 units wide, centred in the 40-unit band.
    EXPECT_EQ(at(image, m.x(110), m.y(47)), black);
    EXPECT_EQ(at(image, m.x(110), m.y(43)), road);
    view->stop();
}

TEST_F(ViewRendering, DrivingOnTheLeftPutsLaneOneInTheTopBand)
{
    study.studyShape.drivesOnRight = false;
    study.roadScene.features = {{400, true, 100, 300, 20.0}};
    study.addVehicle(1, true, 500, 10, 1);
    study.addVehicle(3, false, 600, 10, 2);
    auto view = makeView();
    stepOnce(*view);
    const QImage image = render(*view);
    const ExpectedMapping m = mappingOf(*view);

    EXPECT_EQ(view->getLayout().yTop, -80);
    EXPECT_EQ(at(image, m.x(510), m.y(-60)), blue);  // lane 1: top band
    EXPECT_EQ(at(image, m.x(630), m.y(20)), red);    // direction 2 below the centre line
    // Direction 1's feature now covers the upper carriageway.
    EXPECT_GT(countColour(image, red, QRect(m.x(150), m.y(-75), 60, 30)), 50);
    EXPECT_EQ(countColour(image, red, QRect(m.x(150), m.y(5), 60, 30)), 0);
    view->stop();
}

TEST_F(ViewRendering, ZoomScalesTheRoadAndScrollingMovesIt)
{
    study.roadScene.outputDetectorLocation1 = 450;
    study.addVehicle(1, true, 400, 10, 2);
    for (double scale : {0.6, 1.4})
    {
        auto view = makeView(scale, QPoint(100, 0));
        stepOnce(*view);
        const QImage image = render(*view);
        const ExpectedMapping m = mappingOf(*view);
        SCOPED_TRACE(scale);
        EXPECT_EQ(view->scrollPosition().x(), 100);
        EXPECT_EQ(at(image, m.x(410), m.y(60)), red);
        EXPECT_EQ(at(image, m.x(435), m.y(60)), road);
        EXPECT_EQ(at(image, m.x(470), m.y(60)), yellow);
        EXPECT_EQ(at(image, m.x(500), m.y(-20)), road);
        EXPECT_EQ(at(image, m.x(500), m.y(-40)), black);
        EXPECT_EQ(at(image, m.x(500), m.y(-45)), white);
        view->stop();
    }
}

TEST_F(ViewRendering, VelocitiesAreWrittenOnTheVehicles)
{
    study.addVehicle(1, true, 300, 20, 1, 25.0);  // 90.0 km/h, on a blue body 40 units long
    auto view = makeView();
    view->displaySettings().showVelocities = true;
    stepOnce(*view);
    const QImage image = render(*view);
    const ExpectedMapping m = mappingOf(*view);
    const QRect body(m.x(282), m.y(48), 36, 24);
    int textPixels = 0;
    for (int y = body.top(); y <= body.bottom(); ++y)
        for (int x = body.left(); x <= body.right(); ++x)
            if (at(image, x, y).blue() < 128)
                ++textPixels;
    EXPECT_GT(textPixels, 10);
    EXPECT_GT(countColour(image, blue, body), 10);
    view->stop();
}

TEST_F(ViewRendering, NoVehiclesAreDrawnOutsideARun)
{
    study.addVehicle(1, true, 100, 10, 1);
    auto view = makeView();
    stepOnce(*view);
    view->stop();
    const QImage image = render(*view);
    const ExpectedMapping m = mappingOf(*view);
    EXPECT_EQ(at(image, m.x(110), m.y(60)), road);
}

TEST_F(ViewRendering, BridgesAreOutlinedAroundTheRoadWithTheirNamesAbove)
{
    auto plain = makeView();
    const QImage without = render(*plain);
    study.roadScene.bridges = {{"Viaduct", 300.0, 200.0}};
    auto view = makeView();
    const QImage image = render(*view);
    const ExpectedMapping m = mappingOf(*view);

    // The outline's ends cross the road at the bridge's start and end; the deck between is road.
    EXPECT_EQ(at(image, m.x(320), m.y(20)), black);
    EXPECT_EQ(at(image, m.x(519), m.y(20)), black);
    EXPECT_EQ(at(image, m.x(420), m.y(20)), road);
    EXPECT_EQ(at(without, m.x(320), m.y(20)), road);
    // The name sits above the road at the bridge's start, and only there.
    const QRect nameArea(m.x(320), m.y(-40) - 24, 70, 20);
    EXPECT_GT(countDark(image, nameArea), 10);
    EXPECT_EQ(countDark(without, nameArea), 0);
    EXPECT_EQ(countDark(image, QRect(m.x(620), m.y(-40) - 24, 70, 20)), 0);
}
