#pragma once
// The Intelligent Driver Model with an elastic jam distance: car-following acceleration, the
// driver's lane-change rule, and the single-slot save and restore of speed-limit and gradient
// sections. A value type: each vehicle holds its own copy with parameters drawn for its class.

#include "vehicles/DriverModel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

class IDM : public DriverModel
{
public:
    IDM();
    IDM(const IDM&) = default;
    IDM& operator=(const IDM&) = default;
    ~IDM() override = default;

    double getDesiredVelocity() const override;
    double getAcceleration(double dv, double gap) const override;
    // The same at own velocity v (m/s), without going through setVelocity: the vehicle's
    // direct call, which the compiler can inline.
    double accelerationAt(double v, double dv, double gap) const;
    // At least accelerationAt(v, dv, gap) for every dv and gap (m/s²), NaN when unknown: the
    // interaction term only brakes.
    double accelerationBound(double v) const;
    // At least accelerationAt(v, dv, gap) and at least emergencyDeceleration (m/s²), or NaN
    // when unknown; without a division, so that most lane changes that cannot pay are told
    // cheaply. It evaluates no acceleration, so it traces none.
    double accelerationBoundBehind(double v, double dv, double gap) const;
    void setVelocity(double v) override;
    void resetDesiredVelocity() override;
    void leaveGradient() override;
    void enterGradient(double percent) override;
    void leaveSpeedLimit() override;
    void enterSpeedLimit(double v) override;
    double laneChangeIncentive(double gapAhead, double gapBehind, double ownGain, double followerAccNow,
                               double followerAccAfter, bool biasAway) const override;
    // True when laneChangeIncentive is 0 whatever the new follower's accelerations: the gap ahead
    // is unsafe, or the own gain with the bias does not pass the threshold and politeness can
    // only take away from it. Lets the caller skip evaluating the follower.
    bool changeCannotPay(double gapAhead, double ownGain, bool biasAway) const;

    // The desired gap s* (m) at approach rate dv (m/s) and the current velocity.
    double desiredGap(double dv) const { return desiredGapAt(velocity, dv, speedTermsAt(velocity)); }

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
    // The terms that depend on the velocity, v0 and delta alone. A vehicle is evaluated several
    // times at one speed (its move, its lane-change checks and the next step's move), so the last
    // ones are kept; the key is the velocity's exact bits, so a kept term is the one that would be
    // computed. A change of v0 or delta forgets them.
    struct SpeedTerms
    {
        // A signalling NaN, which no arithmetic yields: the key while no terms are kept.
        static constexpr std::uint64_t noVelocity = 0x7ff0'dead'0000'0001;
        std::uint64_t velocityBits = noVelocity;
        double ratioPower = 0.0;  // (v/v0)^delta
        double ratioRoot = 0.0;   // sqrt(v/v0)
    };
    const SpeedTerms& speedTermsAt(double v) const;
    void computeSpeedTerms(double v) const;
    double desiredGapAt(double v, double dv, const SpeedTerms& terms) const;
    // Brings what is derived from the parameters up to date; called after every change of
    // a, b, v0 or delta.
    void parametersChanged();
    bool isEvaluable(double gap) const;
    void traceHardBraking(double acc) const;

    // What every evaluation reads comes first, so that a vehicle's step touches few cache lines;
    // the two small ones fill the space the base leaves after its flags.
    bool parametersEvaluable = false;  // v0, a and b above 0
    int wholeDelta = 0;                // delta when a small whole number, else 0
    double T;                          // s, safe time headway
    double a;                          // m/s², maximum acceleration
    double s0;                         // m, minimum jam distance
    double s1;                         // m, elastic jam distance
    double v0;                         // m/s, current desired velocity (sections change it)
    double twiceRootAB = 0.0;          // m/s², 2·sqrt(a·b), kept up to date with a and b
    double inverseTwiceRootAB = 0.0;   // s²/m, its reciprocal
    double safeDeceleration;           // m/s² (negative)
    double p;                          // lane-change politeness factor
    double deltaAbias;                 // m/s², bias towards the inside lane
    double deltaAth;                   // m/s², lane-change threshold
    double laneChangeMinGap;           // m
    mutable SpeedTerms lastSpeedTerms;

    double b;                  // m/s², comfortable deceleration (positive)
    double delta;              // acceleration exponent
    double speedLimitSavedV0;  // m/s
    double gradientSavedT;     // s
    double gradientSavedA;     // m/s²
    double gradientSavedB;     // m/s²
    double gradientSavedV0;    // m/s
    double desiredVelocity;    // m/s, as drawn; sections never change it
    double velocity = 0.0;     // m/s, own speed for getAcceleration and desiredGap
    bool gradientAltersAccel;
    double gradientMinAccel;  // m/s²
    bool gradientAltersDecel;
    double gradientHeadwayStep;  // % per s
    double gradientMinSpeed;     // m/s
    double gradientSpeedStep;    // % per km/h
};

inline const IDM::SpeedTerms& IDM::speedTermsAt(double v) const
{
    const SpeedTerms& terms = lastSpeedTerms;
    if (terms.velocityBits != std::bit_cast<std::uint64_t>(v))
        computeSpeedTerms(v);
    return terms;
}

inline double IDM::desiredGapAt(double v, double dv, const SpeedTerms& terms) const
{
    const double dynamic = std::max(0.0, dv * v / twiceRootAB);
    return s0 + s1 * terms.ratioRoot + T * v + dynamic;
}

inline bool IDM::isEvaluable(double gap) const
{
    // Written so that NaN fails too.
    return gap > 0.0 && parametersEvaluable;
}

inline double IDM::accelerationAt(double v, double dv, double gap) const
{
    double acc = emergencyDeceleration;
    if (isEvaluable(gap))
    {
        const SpeedTerms& terms = speedTermsAt(v);
        const double sStar = desiredGapAt(v, dv, terms);
        const double freeTerm = a * (1.0 - terms.ratioPower);
        const double gapRatio = sStar / gap;
        const double interactionTerm = -a * (gapRatio * gapRatio);
        acc = freeTerm + interactionTerm;
        if (!std::isfinite(acc))
            acc = emergencyDeceleration;
    }
    if (acc < safeDeceleration)
        traceHardBraking(acc);
    return acc;
}

inline double IDM::accelerationBound(double v) const
{
    // The exact free term: the interaction term only brakes. Its power is kept, so the next
    // step's move at this velocity finds it ready.
    const double freeTerm = a * (1.0 - speedTermsAt(v).ratioPower);
    // Written so that NaN stays NaN: nothing is then known.
    return freeTerm < emergencyDeceleration ? emergencyDeceleration : freeTerm;
}

inline double IDM::accelerationBoundBehind(double v, double dv, double gap) const
{
    constexpr double unknown = std::numeric_limits<double>::quiet_NaN();
#if defined(__SSE__)
    // Inside these bounds the gap is a normal float.
    if (!(parametersEvaluable && gap > 1.0e-30 && gap < 1.0e30))
        return unknown;
    const SpeedTerms& terms = speedTermsAt(v);
    // A desired gap no larger than desiredGapAt's: its dynamic part is made smaller by more than
    // the two roundings of the reciprocal's product, and the sums round alike.
    const double approach = dv * v * inverseTwiceRootAB * (1.0 - 0x1p-50);
    // Far below any gap, a quotient may round as it likes: left out, the part only shrinks.
    const double dynamic = approach > 0x1p-1000 ? approach : 0.0;
    const double sStarBelow = s0 + s1 * terms.ratioRoot + T * v + dynamic;
    if (!(sStarBelow > 0.0))
        return unknown;
    // The processor's reciprocal estimate is within 1.5·2^-12 relative, the float within 2^-24:
    // less 2^-8, the ratio stays below sStar / gap, so the interaction term brakes at least as
    // hard as accelerationAt's and every rounding after it goes the same way.
    const float reciprocal = _mm_cvtss_f32(_mm_rcp_ss(_mm_set_ss(static_cast<float>(gap))));
    const double gapRatio = sStarBelow * static_cast<double>(reciprocal) * (1.0 - 0x1p-8);
    const double freeTerm = a * (1.0 - terms.ratioPower);
    const double bound = freeTerm + -a * (gapRatio * gapRatio);
    // accelerationAt gives emergencyDeceleration for what does not stay finite: a bound below it
    // would not hold. Written so that NaN fails too.
    return bound >= emergencyDeceleration ? bound : unknown;
#else
    (void)v;
    (void)dv;
    (void)gap;
    return unknown;
#endif
}

inline bool IDM::changeCannotPay(double gapAhead, double ownGain, bool biasAway) const
{
    if (gapAhead < laneChangeMinGap)
        return true;
    // The bias with its sign, as laneChangeIncentive adds it: x + (-y) is x - y exactly.
    const double advantage = biasAway ? ownGain - deltaAbias : ownGain + deltaAbias;
    return p >= 0.0 && advantage <= deltaAth;
}
