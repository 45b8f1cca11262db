#pragma once
// Every figure the program prints, in files, summaries, pages and charts, rounded by one rule:
// the C library's, to the nearest representable decimal, a tie to the even digit. Two places
// that show one number then never disagree in the last digit.

#include <string>

// The value to `significantDigits` significant digits, as %g writes it ("1295.62", "1e+06").
std::string figureText(double value, int significantDigits = 6);
