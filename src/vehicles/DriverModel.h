#pragma once
// The interface through which a vehicle asks its driver for an acceleration, and through which
// road segments and the lane-change decision change or consult the driver's behaviour.

class DriverModel
{
public:
    DriverModel() = default;
    virtual ~DriverModel() = default;

    virtual double getDesiredVelocity() const = 0;  // m/s
    // dv: approach rate, own speed minus the leader's (m/s); gap: net distance to the leader (m).
    virtual double getAcceleration(double dv, double gap) const = 0;  // m/s²
    // The own speed (m/s) for the next getAcceleration.
    virtual void setVelocity(double v) = 0;

    // Segment effects; a model that ignores road sections keeps these as they are.
    virtual void resetDesiredVelocity() {}
    virtual void leaveGradient() {}
    virtual void enterGradient(double /*percent*/) {}
    virtual void leaveSpeedLimit() {}
    virtual void enterSpeedLimit(double /*v*/) {}

    // The incentive (m/s²) to move into one candidate lane; 0 when unsafe or not worth it.
    // gapAhead, gapBehind in m; the gain and the new follower's accelerations in m/s².
    virtual double laneChangeIncentive(double gapAhead, double gapBehind, double ownGain, double followerAccNow,
                                       double followerAccAfter, bool biasAway) const = 0;

    bool isGradientActive() const { return gradientActive; }
    bool isSpeedLimitActive() const { return speedLimitActive; }

protected:
    DriverModel(const DriverModel&) = default;
    DriverModel& operator=(const DriverModel&) = default;

    bool gradientActive = false;    // inside a gradient section
    bool speedLimitActive = false;  // inside a speed-limit section
};
