#include "KnownTraffic.h"

#include "config/MersenneTwister.h"
#include "trafficmodel/GeneralizedPareto.h"
#include "trafficmodel/ModelFile.h"
#include "trafficmodel/ModelFitter.h"
#include "trafficmodel/ModelTraffic.h"
#include "trafficmodel/RateClock.h"
#include "trafficmodel/TrafficModelError.h"
#include "vehicles/Vehicle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using namespace TrafficModel;

namespace {
Model fitted(const std::string& path)
{
    ModelFitter fitter(std::nullopt);
    fitter.read(path);
    std::vector<std::string> notes;
    return fitter.fit(notes);
}

// A week of the known traffic, fitted once for the tests that only read the model.
const Model& knownModel()
{
    static const KnownTraffic week(7);
    static const Model model = fitted(week.path);
    return model;
}

std::string refusal(const std::string& json)
{
    try
    {
        ModelFile::fromJson(json, "m.json");
    }
    catch (const TrafficModelError& error)
    {
        return error.what();
    }
    return "accepted";
}
}

TEST(TrafficModelPieces, QuantilesInterpolateAndInvert)
{
    const Quantiles q = Quantiles::of({4.0, 1.0, 3.0, 2.0, 5.0}, 5);
    EXPECT_EQ(q.values, (std::vector<double>{1.0, 2.0, 3.0, 4.0, 5.0}));
    EXPECT_DOUBLE_EQ(q.at(0.125), 1.5);
    EXPECT_DOUBLE_EQ(q.cdf(1.5), 0.125);
    EXPECT_DOUBLE_EQ(q.at(1.0), 5.0);
    EXPECT_DOUBLE_EQ(q.cdf(0.5), 0.0);
    // Ties, as whole file units give them: the value holds its probability.
    const Quantiles tied = Quantiles::of({2.0, 2.0, 2.0, 2.0, 3.0}, 5);
    EXPECT_DOUBLE_EQ(tied.at(0.6), 2.0);
}

TEST(TrafficModelPieces, ArrivalsAndTheirTimesAreInverseAcrossHoursWithoutTraffic)
{
    // 10 per hour, none from 02:00 to 04:00.
    const auto rate = [](double t) {
        const int hour = static_cast<int>(t / 3600.0) % 24;
        return hour == 2 || hour == 3 ? 0.0 : 10.0 / 3600.0;
    };
    EXPECT_NEAR(expectedArrivals(rate, 0.0, 5.0 * 3600.0), 30.0, 1e-9);
    const auto at = afterArrivals(rate, 1800.0, 20.0, 1e6);
    ASSERT_TRUE(at);
    EXPECT_NEAR(*at, 4.5 * 3600.0, 1e-6);  // 15 by 02:00, none until 04:00, 5 more by 04:30
    EXPECT_NEAR(expectedArrivals(rate, 1800.0, *at), 20.0, 1e-9);
    EXPECT_FALSE(afterArrivals(rate, 2.0 * 3600.0, 1.0, 4.0 * 3600.0));
    EXPECT_FALSE(afterArrivals([](double) { return 0.0; }, 0.0, 1.0, 1e7));
}

TEST(TrafficModelPieces, ParetoFitRecoversKnownParameters)
{
    for (const double shape : {-0.3, 0.0, 0.2})
    {
        MersenneTwister random;
        random.seed(11);
        std::vector<double> excesses;
        for (int i = 0; i < 4000; ++i)
        {
            const double u = (random.next() + 0.5) / 4294967296.0;
            excesses.push_back(shape == 0.0 ? -50.0 * std::log(u) : 50.0 * (std::pow(u, -shape) - 1.0) / shape);
        }
        const ParetoTail tail = GeneralizedPareto::fit(excesses);
        ASSERT_GT(tail.shapeError, 0.0);
        EXPECT_NEAR(tail.shape, shape, 3.0 * tail.shapeError) << shape;
        EXPECT_NEAR(tail.scale, 50.0, 3.0 * tail.scaleError) << shape;
        EXPECT_NEAR(tail.shapeError, (1.0 + shape) / std::sqrt(4000.0), 0.01) << shape;
    }
    EXPECT_THROW(GeneralizedPareto::fit({1, 2, 3}), TrafficModelError);
    EXPECT_THROW(GeneralizedPareto::fit(std::vector<double>(50, 4.0)), TrafficModelError);
    EXPECT_THROW(GeneralizedPareto::fit(std::vector<double>(50, NAN)), TrafficModelError);
}

TEST(TrafficModelFit, RecoversTheKnownFlowsSharesSpeedsAndWeightTail)
{
    const Model& model = knownModel();
    ASSERT_EQ(model.lanes.size(), 1u);
    const LaneModel& lane = model.lanes.front();
    EXPECT_EQ(model.weekdayHours, 120);
    EXPECT_EQ(model.weekendHours, 48);
    for (int h = 0; h < hoursPerDay; ++h)
    {
        // Poisson counts over 5 and 2 days: four standard deviations.
        EXPECT_NEAR(lane.flow[0][h], KnownTraffic::weekdayFlow, 4.0 * std::sqrt(KnownTraffic::weekdayFlow / 5.0));
        EXPECT_NEAR(lane.flow[1][h], KnownTraffic::weekendFlow, 4.0 * std::sqrt(KnownTraffic::weekendFlow / 2.0));
        EXPECT_NEAR(lane.classShares[0][h][2], KnownTraffic::truckShare, 4.0 * std::sqrt(0.25 * 0.75 / 1000.0));
    }
    // Medians of normal speeds, to within a tenth of a m/s (the files' unit).
    EXPECT_NEAR(lane.speeds[2]->at(0.5), KnownTraffic::truckSpeed, 0.12);
    EXPECT_NEAR(lane.speeds[0]->at(0.5), KnownTraffic::carSpeed, 0.12);
    EXPECT_NEAR(lane.speeds[2]->at(0.8413) - lane.speeds[2]->at(0.1587), 2 * 2.0, 0.2);
    // Independent arrivals: the gaps in expected trucks are exponential with mean 1.
    ASSERT_FALSE(lane.truckGaps.gaps.empty());
    for (const auto& gaps : lane.truckGaps.gaps)
        EXPECT_NEAR(gaps.at(0.5), std::log(2.0), 0.08);

    const VehicleGroup* trucks = model.group(2, 5);
    ASSERT_NE(trucks, nullptr);
    ASSERT_TRUE(trucks->grossWeight.tail);
    const ParetoTail& tail = *trucks->grossWeight.tail;
    // Excesses over a higher threshold u keep the shape; the scale becomes σ + ξ (u − start).
    const double threshold = trucks->grossWeight.body.values.back();
    const double scaleThere =
        KnownTraffic::weightScale + KnownTraffic::weightShape * (threshold - KnownTraffic::weightStart);
    EXPECT_NEAR(tail.shape, KnownTraffic::weightShape, 3.0 * tail.shapeError);
    EXPECT_NEAR(tail.scale, scaleThere, 3.0 * tail.scaleError);
    EXPECT_NEAR(trucks->spacings[2].at(0.5), 6.0, 1e-9);
    EXPECT_NEAR(trucks->weightShares[0].mean, 0.2, 0.01);
}

TEST(TrafficModelFit, DayTypesFollowTheFirstWeekday)
{
    // Day 0 a Saturday: the recorded days 0 and 1 (200 veh/h) are the weekend, days 5 and 6
    // (100 veh/h) a Thursday and a Friday.
    const KnownTraffic week(7);
    ModelFitter fitter(std::nullopt, 5);
    fitter.read(week.path);
    std::vector<std::string> notes;
    const Model model = fitter.fit(notes);
    EXPECT_EQ(model.firstWeekday, 5);
    double weekday = 0.0;
    double weekend = 0.0;
    for (int h = 0; h < hoursPerDay; ++h)
    {
        weekday += model.lanes[0].flow[0][h] / hoursPerDay;
        weekend += model.lanes[0].flow[1][h] / hoursPerDay;
    }
    EXPECT_NEAR(weekday, (3 * KnownTraffic::weekdayFlow + 2 * KnownTraffic::weekendFlow) / 5, 4.0);
    EXPECT_NEAR(weekend, KnownTraffic::weekdayFlow, 6.0);
    EXPECT_EQ(ModelFile::fromJson(ModelFile::toJson(model), "m.json").firstWeekday, 5);
}

TEST(TrafficModelFit, RefusesAnEmptyFileAndFitsOneDay)
{
    const KnownTraffic hours(0);  // no vehicle at all
    ModelFitter fitter(std::nullopt);
    EXPECT_THROW(fitter.read(hours.path), TrafficModelError);  // empty: no format to tell

    const KnownTraffic day(1);
    ModelFitter oneDay(std::nullopt);
    oneDay.read(day.path);
    std::vector<std::string> notes;
    const Model model = oneDay.fit(notes);
    // A Monday only: the weekend takes the weekday's figures, and the user is told.
    EXPECT_EQ(model.lanes[0].flow[1], model.lanes[0].flow[0]);
    EXPECT_EQ(model.weekendHours, 0);
    ASSERT_FALSE(notes.empty());
    EXPECT_NE(notes.front().find("no traffic recorded at 24 hours (weekend 00:00 to weekend 23:00)"),
              std::string::npos);
}

TEST(TrafficModelFile, WritesWhatItReadsAndReadsWhatItWrites)
{
    const std::string text = ModelFile::toJson(knownModel());
    const Model again = ModelFile::fromJson(text, "m.json");
    EXPECT_EQ(ModelFile::toJson(again), text);
    ASSERT_EQ(again.lanes.size(), 1u);
    EXPECT_NEAR(again.lanes[0].flow[0][5], knownModel().lanes[0].flow[0][5], 0.005);
    ASSERT_TRUE(again.group(2, 5) && again.group(2, 5)->grossWeight.tail);
    EXPECT_NEAR(again.group(2, 5)->grossWeight.tail->shape, knownModel().group(2, 5)->grossWeight.tail->shape, 1e-5);
}

TEST(TrafficModelFile, RefusesHostileValuesByTheirPath)
{
    const std::string good = ModelFile::toJson(knownModel());
    const auto with = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    EXPECT_EQ(refusal(good), "accepted");
    EXPECT_NE(refusal(with("\"lane\": 1", "\"lane\": 1.5")).find("m.json: lanes[0].lane: 1.5 is not a whole number"),
              std::string::npos);
    EXPECT_NE(refusal(with("\"lane\": 1", "\"lane\": \"1\"")).find("lanes[0].lane: a number expected, found text"),
              std::string::npos);
    EXPECT_NE(refusal(with("\"axles\": 5", "\"axles\": 0")).find("vehicleGroups[1].axles: 0 is out of range"),
              std::string::npos);
    EXPECT_NE(refusal(with("\"direction\": 1", "\"direction\": 2147483648")).find("lanes[0].direction"),
              std::string::npos);
    EXPECT_NE(refusal(with("\"weekday\": [", "\"weekday\": [-0.5, ")).find("24 expected"), std::string::npos);
    EXPECT_NE(refusal(with("\"weekday\": [", "\"weekday\": [1e308, ")).find("24 expected"), std::string::npos);
    EXPECT_NE(refusal(with("\"scale_kN\": ", "\"scale_kN\": -")).find("tail.scale_kN"), std::string::npos);
    EXPECT_NE(refusal(with("\"largest_kN\": ", "\"largest_kN\": 1e308, \"x\": ")).find("largest_kN"),
              std::string::npos);
    EXPECT_NE(refusal(with("\"class\": \"largeTruck\"", "\"class\": \"bus\"")).find("vehicleGroups[1].class"),
              std::string::npos);
    EXPECT_NE(refusal(with("\"truckGaps\"", "\"truckGapz\"")).find("the field \"truckGaps\" is missing"),
              std::string::npos);
    EXPECT_NE(refusal(with("\"5\": 1", "\"05x\": 1")).find("not an axle count"), std::string::npos);
    EXPECT_NE(refusal(with("\"lanes\": [", "\"lanes\": 7, \"x\": [")).find("lanes: a list [...] expected"),
              std::string::npos);
    EXPECT_NE(refusal(with("\"lane\": 1", "\"lane\": 1, \"lane\": 2")).find("the field \"lane\" is given twice"),
              std::string::npos);
    EXPECT_NE(refusal("[1, 2").find("m.json: line 1: not JSON"), std::string::npos);
    EXPECT_NE(refusal("{\"roadfluxTrafficModel\": 1}").find("the field \"lanes\" is missing"), std::string::npos);
}

TEST(TrafficModelDraw, RepeatsBySeedKeepsClassesAndStaysWithinTheColumns)
{
    const auto draw = [](const Model& model, std::uint32_t seed, double durationS) {
        std::ostringstream out;
        ModelTraffic traffic(model, 101, seed, durationS);
        traffic.write(out);
        return out.str();
    };
    const std::string day = draw(knownModel(), 3, 86400.0);
    EXPECT_EQ(day, draw(knownModel(), 3, 86400.0));
    EXPECT_NE(day, draw(knownModel(), 4, 86400.0));

    // A tail edited to be very heavy is held by largest_kN and by what a column can hold.
    Model heavy = knownModel();
    VehicleGroup& trucks = heavy.groups[1];
    ASSERT_EQ(trucks.axles, 5);
    trucks.grossWeight.tail->shape = 5.0;
    trucks.grossWeight.largest = 9800.0;
    trucks.overhang.values.back() = 99.9;
    ModelTraffic traffic(heavy, 101, 1, 3600.0);
    double previous = -1.0;
    for (int i = 0; i < 2000; ++i)
    {
        const auto vehicle = traffic.drawVehicle(heavy.lanes[0], 2);
        EXPECT_EQ(vehicle->classify(), 2);
        for (int a = 0; a < vehicle->axleCount; ++a)
            EXPECT_LE(vehicle->getAxleWeight(a), 999 * 0.981 + 1e-9);
        EXPECT_LE(vehicle->gvw, 9800.0);
    }
    std::istringstream records(draw(heavy, 1, 6 * 3600.0));
    std::string line;
    while (std::getline(records, line))
    {
        ASSERT_EQ(line.size(), 77u) << line;
        const double t = std::stoi(line.substr(10, 2)) * 3600 + std::stoi(line.substr(12, 2)) * 60 +
                         std::stoi(line.substr(14, 2)) + std::stoi(line.substr(16, 2)) / 100.0;
        EXPECT_GE(t, previous);
        previous = t;
    }
    EXPECT_GT(previous, 5 * 3600.0);

    // A lane without flow ends at once, however long the duration.
    Model quiet = knownModel();
    for (auto& dayType : quiet.lanes[0].flow)
        dayType.fill(0.0);
    EXPECT_EQ(draw(quiet, 1, 99.0 * 250.0 * 86400.0), "");
}
