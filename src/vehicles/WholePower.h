#pragma once
// std::pow(x, y) to the last bit, several times faster when y is a whole number from 1 to 8 (the
// driver model raises v/v0 to its exponent, 4 by default, once per vehicle and step).

double wholePower(double x, double y);
