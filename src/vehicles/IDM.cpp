#include "vehicles/IDM.h"

#include "config/CConfigData.h"
#include "config/Trace.h"
#include "vehicles/SpeedUnits.h"
#include "vehicles/WholePower.h"

#include <algorithm>
#include <cmath>

IDM::IDM()
    : T(0.0), a(0.0), s0(0.0), s1(0.0), v0(0.0), safeDeceleration(theConfigData.safeDeceleration), p(0.0),
      deltaAbias(0.0), deltaAth(0.0), laneChangeMinGap(theConfigData.laneChangeMinGap), b(0.0), delta(0.0),
      speedLimitSavedV0(0.0), gradientSavedT(0.0), gradientSavedA(0.0), gradientSavedB(0.0), gradientSavedV0(0.0),
      desiredVelocity(0.0), gradientAltersAccel(theConfigData.gradientAltersAccel),
      gradientMinAccel(theConfigData.gradientMinAccel), gradientAltersDecel(theConfigData.gradientAltersDecel),
      gradientHeadwayStep(theConfigData.gradientHeadwayStep), gradientMinSpeed(theConfigData.gradientMinSpeed),
      gradientSpeedStep(theConfigData.gradientSpeedStep)
{
}

double IDM::getDesiredVelocity() const
{
    return v0;
}

void IDM::setVelocity(double v)
{
    velocity = v;
}

void IDM::computeSpeedTerms(double v) const
{
    const double ratio = v / v0;
    lastSpeedTerms.velocityBits = std::bit_cast<std::uint64_t>(v);
    lastSpeedTerms.ratioPower = wholeDelta > 0 ? wholePower(ratio, wholeDelta) : std::pow(ratio, delta);
    lastSpeedTerms.ratioRoot = std::sqrt(ratio);
}

void IDM::parametersChanged()
{
    twiceRootAB = 2.0 * std::sqrt(a * b);
    inverseTwiceRootAB = 1.0 / twiceRootAB;
    // Written so that NaN fails too.
    parametersEvaluable = v0 > 0.0 && a > 0.0 && b > 0.0;
    lastSpeedTerms.velocityBits = SpeedTerms::noVelocity;
}

void IDM::traceHardBraking(double acc) const
{
    debugTrace("** ACCEL: %f\n", acc);
}

double IDM::getAcceleration(double dv, double gap) const
{
    return accelerationAt(velocity, dv, gap);
}

double IDM::laneChangeIncentive(double gapAhead, double gapBehind, double ownGain, double followerAccNow,
                                double followerAccAfter, bool biasAway) const
{
    const bool safe =
        gapAhead >= laneChangeMinGap && gapBehind >= laneChangeMinGap && followerAccAfter >= safeDeceleration;
    double advantage = 0.0;
    double disadvantage = 0.0;
    if (safe)
    {
        const double sign = biasAway ? -1.0 : 1.0;
        advantage = ownGain + sign * deltaAbias;
        disadvantage = followerAccNow - followerAccAfter;
    }
    // A gain for the new follower is not counted in the change's favour.
    disadvantage = std::max(0.0, disadvantage);
    const double incentive = advantage - p * disadvantage;
    return incentive <= deltaAth ? 0.0 : incentive;
}

void IDM::enterSpeedLimit(double v)
{
    speedLimitActive = true;
    speedLimitSavedV0 = v0;
    v0 = v;
    parametersChanged();
}

void IDM::leaveSpeedLimit()
{
    // Nothing was saved: restoring would hand the driver a stale or zero desired velocity.
    if (!speedLimitActive)
    {
        debugTrace("***SL: Removed but not in\n");
        return;
    }
    speedLimitActive = false;
    v0 = speedLimitSavedV0;
    parametersChanged();
}

void IDM::enterGradient(double percent)
{
    const double G = percent;
    if (gradientActive)
    {
        // Entered again while inside (a speed limit ended within it): apply the gradient to
        // the values it found, not on top of its own changes, which would outlast the section.
        T = gradientSavedT;
        a = gradientSavedA;
        b = gradientSavedB;
        if (!speedLimitActive)
            v0 = desiredVelocity;
    }
    gradientActive = true;
    gradientSavedA = a;
    gradientSavedT = T;
    gradientSavedB = b;
    gradientSavedV0 = v0;

    // A non-positive step would make the change infinite: such a step changes nothing.
    if (gradientHeadwayStep > 0.0)
        T += std::abs(G) / gradientHeadwayStep;
    if (gradientAltersAccel)
        a = std::max(a - G / 10.0, gradientMinAccel);
    if (gradientAltersDecel && G > 0.0)
        b += G / 10.0;
    if (G > 0.0 && gradientSpeedStep > 0.0)
    {
        const double speedLoss = G / gradientSpeedStep * metresPerSecondPerKmh;  // m/s
        if (!speedLimitActive)
            v0 -= speedLoss;
        else
            v0 = std::min(v0, desiredVelocity - speedLoss);
        v0 = std::max(v0, gradientMinSpeed);
    }
    parametersChanged();
}

void IDM::leaveGradient()
{
    // Nothing was saved: restoring could leave the driver with no acceleration at all.
    if (!gradientActive)
    {
        debugTrace("***Grad: Removed but not in\n");
        return;
    }
    gradientActive = false;
    T = gradientSavedT;
    a = gradientSavedA;
    b = gradientSavedB;
    v0 = gradientSavedV0;
    parametersChanged();
}

void IDM::resetDesiredVelocity()
{
    v0 = desiredVelocity;
    parametersChanged();
}

void IDM::setT(double seconds)
{
    T = seconds;
}

void IDM::setA(double metresPerSecond2)
{
    a = metresPerSecond2;
    parametersChanged();
}

void IDM::setB(double metresPerSecond2)
{
    b = metresPerSecond2;
    parametersChanged();
}

void IDM::setS0(double metres)
{
    s0 = metres;
}

void IDM::setS1(double metres)
{
    s1 = metres;
}

void IDM::setV0(double kmh)
{
    v0 = kmh * metresPerSecondPerKmh;
    desiredVelocity = v0;
    parametersChanged();
}

void IDM::setDelta(double exponent)
{
    delta = exponent;
    wholeDelta = smallWholeExponent(exponent);
    parametersChanged();
}

void IDM::setPoliteness(double factor)
{
    p = factor;
}

void IDM::setBias(double metresPerSecond2)
{
    deltaAbias = metresPerSecond2;
}

void IDM::setThreshold(double metresPerSecond2)
{
    deltaAth = metresPerSecond2;
}
