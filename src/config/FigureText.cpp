#include "config/FigureText.h"

#include <algorithm>
#include <cstdio>

std::string figureText(double value, int significantDigits)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", std::clamp(significantDigits, 1, 17), value);
    return text;
}
