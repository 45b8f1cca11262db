#pragma once
// Speed conversions. Entered km/h are converted with this decimal constant, not 1/3.6, so that
// results match the stored studies and traffic files digit for digit.

constexpr double metresPerSecondPerKmh = 0.27777778;  // (m/s) / (km/h)
constexpr double kmhPerMetresPerSecond = 3.6;         // for display
