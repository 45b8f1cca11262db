#pragma once
// Weight conversions. Weights counted in units of 100 kg (the car limit, TALVOR and DoRIV
// records) become kN with g = 9.81 m/s².

constexpr double kNPerHundredKg = 0.981;  // kN per 100 kg
