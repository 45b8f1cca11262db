#pragma once
// std::pow(x, n) to the last bit for a whole exponent n from 1 to 8, several times faster: the
// driver model raises v/v0 to its exponent, 4 by default, once per vehicle and step.

// n when y is a whole number from 1 to 8, else 0.
int smallWholeExponent(double y);

// std::pow(x, n) bit for bit; n from 1 to 8.
double wholePower(double x, int n);
