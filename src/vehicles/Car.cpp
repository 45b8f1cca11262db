#include "vehicles/Car.h"

Car::Car()
{
    vehicleClass = classCar;
    laneChangeClock = 0.0;
}
