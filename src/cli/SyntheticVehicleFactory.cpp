#include "cli/SyntheticVehicleFactory.h"

#include "vehicles/Car.h"
#include "vehicles/SpeedUnits.h"
#include "vehicles/Truck.h"
#include "vehicles/VehicleClass.h"
#include "vehicles/WeightUnits.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {
constexpr unsigned short vorkFormat = 100;
constexpr int tandemSpacingDm = 13;  // 1.3 m between the axles of a tandem or tridem
}

SyntheticVehicleFactory::SyntheticVehicleFactory(SyntheticRandom& randomSource, unsigned short fileFormat)
    : random(randomSource), weightsInKilonewtons(fileFormat == vorkFormat)
{
}

std::unique_ptr<Vehicle> SyntheticVehicleFactory::make(short vehicleClass)
{
    switch (vehicleClass)
    {
    case classSmallTruck: return build(smallTruckLayout());
    case classLargeTruck: return build(largeTruckLayout());
    case classCrane: return build(craneLayout());
    case classLowLoader: return build(lowLoaderLayout());
    default: return build(carLayout());
    }
}

// Two axles and well under the car weight limit (3.5 t).
SyntheticVehicleFactory::Layout SyntheticVehicleFactory::carLayout()
{
    Layout layout;
    layout.isCar = true;
    layout.spacingsDm = {random.uniformInt(24, 29), 0};
    const double front = random.uniform(0.52, 0.58);
    layout.loadShares = {front, 1.0 - front};
    layout.grossWeight = random.uniformInt(10, 22);
    layout.lengthDm = random.uniformInt(38, 50);
    layout.speedKmh = random.boundedNormal(90.0, 10.0, 50.0, 130.0);
    return layout;
}

// A rigid lorry: two axles, or three with a long wheelbase so that the mean spacing stays
// clear of the crane test.
SyntheticVehicleFactory::Layout SyntheticVehicleFactory::smallTruckLayout()
{
    Layout layout;
    if (random.uniform() < 0.7)
    {
        layout.spacingsDm = {random.uniformInt(35, 55), 0};
        layout.loadShares = {0.4, 0.6};
        layout.grossWeight = random.uniformInt(60, 180);
        layout.lengthDm = random.uniformInt(65, 100);
    }
    else
    {
        layout.spacingsDm = {random.uniformInt(65, 70), tandemSpacingDm, 0};
        layout.loadShares = {0.3, 0.35, 0.35};
        layout.grossWeight = random.uniformInt(150, 260);
        layout.lengthDm = random.uniformInt(95, 110);
    }
    layout.speedKmh = truckSpeedKmh();
    return layout;
}

// An articulated lorry: tractor, then a trailer whose kingpin gap is the last rise in spacing,
// kept below the low-loader limit.
SyntheticVehicleFactory::Layout SyntheticVehicleFactory::largeTruckLayout()
{
    Layout layout;
    if (random.uniform() < 0.75)
    {
        layout.spacingsDm = {random.uniformInt(32, 38), tandemSpacingDm, random.uniformInt(55, 70), tandemSpacingDm, 0};
        layout.loadShares = {0.16, 0.22, 0.22, 0.2, 0.2};
        layout.grossWeight = random.uniformInt(180, 440);
        layout.lengthDm = random.uniformInt(150, 168);
    }
    else
    {
        layout.spacingsDm = {random.uniformInt(32, 38), tandemSpacingDm, random.uniformInt(50, 65), 0};
        layout.loadShares = {0.2, 0.27, 0.27, 0.26};
        layout.grossWeight = random.uniformInt(150, 320);
        layout.lengthDm = random.uniformInt(100, 120);
    }
    layout.speedKmh = truckSpeedKmh();
    return layout;
}

// A mobile crane: four or five closely and evenly spaced heavy axles.
SyntheticVehicleFactory::Layout SyntheticVehicleFactory::craneLayout()
{
    Layout layout;
    const int axleCount = random.uniform() < 0.5 ? 4 : 5;
    for (int i = 0; i + 1 < axleCount; ++i)
        layout.spacingsDm.push_back(random.uniformInt(14, 20));
    layout.spacingsDm.push_back(0);
    layout.loadShares.assign(static_cast<std::size_t>(axleCount), 1.0 / axleCount);
    layout.grossWeight = axleCount == 4 ? random.uniformInt(300, 480) : random.uniformInt(360, 600);
    layout.lengthDm = random.uniformInt(110, 150);
    layout.speedKmh = random.boundedNormal(70.0, 5.0, 50.0, 85.0);
    return layout;
}

// A tractor with a long gap to a multi-axle low bed. Equal trailer spacings keep the gap the
// last rise, which the low-loader test looks at.
SyntheticVehicleFactory::Layout SyntheticVehicleFactory::lowLoaderLayout()
{
    Layout layout;
    const int trailerAxles = random.uniform() < 0.5 ? 3 : 4;
    layout.spacingsDm = {random.uniformInt(32, 38), tandemSpacingDm, random.uniformInt(80, 95)};
    for (int i = 0; i + 1 < trailerAxles; ++i)
        layout.spacingsDm.push_back(tandemSpacingDm);
    layout.spacingsDm.push_back(0);
    const int axleCount = static_cast<int>(layout.spacingsDm.size());
    layout.loadShares.assign(static_cast<std::size_t>(axleCount), 1.0 / axleCount);
    layout.grossWeight = random.uniformInt(300, 900);
    layout.lengthDm = random.uniformInt(180, 230);
    layout.speedKmh = random.boundedNormal(70.0, 5.0, 50.0, 85.0);
    return layout;
}

double SyntheticVehicleFactory::truckSpeedKmh()
{
    return random.boundedNormal(82.0, 5.0, 50.0, 100.0);
}

// Splits the gross weight by the shares, with a little scatter per axle, in the file's unit;
// the axle weights add up to the gross weight.
std::vector<int> SyntheticVehicleFactory::axleWeights(const Layout& layout)
{
    const double gross = weightsInKilonewtons ? layout.grossWeight * kNPerHundredKg : layout.grossWeight;
    std::vector<int> weights;
    for (double share : layout.loadShares)
        weights.push_back(std::max(1, static_cast<int>(gross * share * random.uniform(0.9, 1.1) + 0.5)));
    return weights;
}

std::unique_ptr<Vehicle> SyntheticVehicleFactory::build(const Layout& layout)
{
    const std::vector<int> weights = axleWeights(layout);
    const int gross = std::accumulate(weights.begin(), weights.end(), 0);
    const double toKilonewtons = weightsInKilonewtons ? 1.0 : kNPerHundredKg;
    std::unique_ptr<Vehicle> vehicle;
    if (layout.isCar)
        vehicle = std::make_unique<Car>();
    else
        vehicle = std::make_unique<Truck>();
    vehicle->head = 1001;
    // Whole tenths of a m/s, as the files hold them.
    vehicle->velocity = std::floor(layout.speedKmh * metresPerSecondPerKmh * 10.0 + 0.5) / 10.0;
    vehicle->gvw = gross * toKilonewtons;
    vehicle->length = layout.lengthDm / 10.0;
    vehicle->axleCount = static_cast<int>(weights.size());
    vehicle->createAxles();
    for (int i = 0; i < vehicle->axleCount; ++i)
    {
        vehicle->setAxleWeight(i, weights[static_cast<std::size_t>(i)] * toKilonewtons);
        vehicle->setAxleSpacing(i, layout.spacingsDm[static_cast<std::size_t>(i)] / 10.0);
    }
    vehicle->vehicleClass = vehicle->classify();
    return vehicle;
}
