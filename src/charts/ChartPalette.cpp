#include "charts/ChartPalette.h"

#include "config/CConfigData.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ChartPalette {

QColor lane(int n)
{
    static const std::array<QColor, 8> colours = {
        QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c), QColor(0xd6, 0x27, 0x28),
        QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b), QColor(0xe3, 0x77, 0xc2), QColor(0x17, 0xbe, 0xcf),
    };
    return colours[static_cast<std::size_t>(std::max(n, 0)) % colours.size()];
}

QColor totals()
{
    return Qt::black;
}

QColor vehicleClass(int vehicleClass)
{
    int index = vehicleClass >= 0 && vehicleClass <= 4 ? vehicleClass : 0;
    Colour packed = theConfigData.classColour[index];
    return QColor(static_cast<int>(packed & 0xffu), static_cast<int>((packed >> 8) & 0xffu),
                  static_cast<int>((packed >> 16) & 0xffu));
}

QColor scale(double fraction)
{
    // Five stops of a perceptually even scale that stays readable in grey.
    static const std::array<QColor, 5> stops = {QColor(68, 1, 84), QColor(59, 82, 139), QColor(33, 145, 140),
                                                QColor(94, 201, 98), QColor(253, 231, 37)};
    double clamped = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    double position = clamped * static_cast<double>(stops.size() - 1);
    std::size_t below = std::min(static_cast<std::size_t>(position), stops.size() - 2);
    double t = position - static_cast<double>(below);
    const QColor& a = stops[below];
    const QColor& b = stops[below + 1];
    auto mix = [t](int from, int to) { return static_cast<int>(std::lround(from + (to - from) * t)); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

}  // namespace ChartPalette
