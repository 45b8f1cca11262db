#pragma once
// Draws the driver model of one released vehicle from the parameter set of its class.

#include "config/CIDMParameterSet.h"
#include "vehicles/IDM.h"

namespace DriverModelDraw {
// How often an unusable draw is repeated before the replacement value is taken.
constexpr int maxRedraws = 100;
// Replacements for a, b (m/s²) and v0 (km/h) that never came out above zero.
constexpr double fallbackAcceleration = 0.1;
constexpr double fallbackDeceleration = 0.1;
constexpr double fallbackDesiredVelocityKmh = 1.0;
}

// A driver model with every parameter drawn once, in the set's member order. A draw the model
// cannot use (not finite; a, b or v0 not above zero) is drawn again a few times and then
// replaced, so every model is usable; valid draws consume exactly what they always did.
IDM drawDriverModel(const CIDMParameterSet& parameters);
