#pragma once
// One lane change as the lane-change detector records it.

class LaneChangeEvent
{
public:
    // `location`: road x of the vehicle's front in m, truncated; lanes are road-wide numbers;
    // `time`: start of the step of the change, s on the simulation clock.
    LaneChangeEvent(int location, int fromLane, int toLane, short vehicleClass, bool toLeft, bool directionPositive,
                    double time)
        : location(location), fromLane(fromLane), toLane(toLane), vehicleClass(vehicleClass), toLeft(toLeft),
          directionPositive(directionPositive), time(time)
    {
    }
    virtual ~LaneChangeEvent() = default;

    int getLocation() const { return location; }
    int getFromLane() const { return fromLane; }
    int getToLane() const { return toLane; }
    short getVehicleClass() const { return vehicleClass; }
    bool isToLeft() const { return toLeft; }
    bool isDirectionPositive() const { return directionPositive; }
    double getTime() const { return time; }

private:
    int location;  // m
    int fromLane;
    int toLane;
    short vehicleClass;
    bool toLeft;
    bool directionPositive;
    double time;  // s
};
