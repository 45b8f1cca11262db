#pragma once
// The Intelligent Driver Model with an elastic jam distance: car-following acceleration, the
// driver's lane-change rule, and the single-slot save and restore of speed-limit and gradient
// sections. A value type: each vehicle holds its own copy with parameters drawn for its class.

#include "vehicles/DriverModel.h"

class IDM : public DriverModel
{
public:
    IDM();
    IDM(const IDM&) = default;
    IDM& operator=(const IDM&) = default;
    ~IDM() override = default;

    double getDesiredVelocity() const override;
    double getAcceleration(double dv, double gap) const override;
    void setVelocity(double v) override;
    void resetDesiredVelocity() override;
    void leaveGradient() override;
    void enterGradient(double percent) override;
    void leaveSpeedLimit() override;
    void enterSpeedLimit(double v) override;
    double laneChangeIncentive(double gapAhead, double gapBehind, double ownGain,
                               double followerAccNow, double followerAccAfter,
                               bool biasAway) const override;
    // True when laneChangeIncentive is 0 whatever the new follower's accelerations: the gap ahead
    // is unsafe, or the own gain with the bias does not pass the threshold and politeness can
    // only take away from it. Lets the caller skip evaluating the follower.
    bool changeCannotPay(double gapAhead, double ownGain, bool biasAway) const;

    // The desired gap s* (m) at approach rate dv (m/s) and the current velocity.
    double desiredGap(double dv) const;

    void setT(double seconds);
    void setA(double metresPerSecond2);
    void setB(double metresPerSecond2);
    void setS0(double metres);
    void setS1(double metres);
    void setV0(double kmh);  // the only setter in km/h; also sets the undisturbed desired velocity
    void setDelta(double exponent);
    void setPoliteness(double factor);
    void setBias(double metresPerSecond2);
    void setThreshold(double metresPerSecond2);

    double getT() const { return T; }
    double getA() const { return a; }
    double getB() const { return b; }
    double getS0() const { return s0; }
    double getS1() const { return s1; }
    double getV0() const { return v0; }  // m/s
    double getDelta() const { return delta; }
    double getPoliteness() const { return p; }
    double getBias() const { return deltaAbias; }
    double getThreshold() const { return deltaAth; }

    // Returned when the model cannot be evaluated (a gap not above 0, v0, a or b not above 0, or
    // an overflow): braking hard enough to stop any vehicle within one step, yet finite.
    static constexpr double emergencyDeceleration = -1.0e4;  // m/s²

private:
    bool isEvaluable(double gap) const;

    double T;           // s, safe time headway
    double a;           // m/s², maximum acceleration
    double b;           // m/s², comfortable deceleration (positive)
    double s0;          // m, minimum jam distance
    double s1;          // m, elastic jam distance
    double v0;          // m/s, current desired velocity (sections change it)
    double delta;       // acceleration exponent
    double p;           // lane-change politeness factor
    double deltaAbias;  // m/s², bias towards the inside lane
    double deltaAth;    // m/s², lane-change threshold
    double speedLimitSavedV0;  // m/s
    double gradientSavedT;     // s
    double gradientSavedA;     // m/s²
    double gradientSavedB;     // m/s²
    double gradientSavedV0;    // m/s
    double desiredVelocity;    // m/s, as drawn; sections never change it
    double velocity = 0.0;     // m/s, own speed for the next evaluation
    double laneChangeMinGap;   // m
    double safeDeceleration;   // m/s² (negative)
    bool gradientAltersAccel;
    double gradientMinAccel;     // m/s²
    bool gradientAltersDecel;
    double gradientHeadwayStep;  // % per s
    double gradientMinSpeed;     // m/s
    double gradientSpeedStep;    // % per km/h
};
