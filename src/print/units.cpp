#include "print/units.h"

#include <cmath>

long long RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5) return static_cast<long long>(floor) + 1;
    if (diff < 0.5) return static_cast<long long>(floor);
    const long long low = static_cast<long long>(floor);
    return low % 2 == 0 ? low : low + 1;
}

int UnitsToPixels(double value, int mode, int dpi) {
    switch (mode) {
        case UnitTenthInch:
            return static_cast<int>(RoundHalfEven(dpi * value / 10));
        case UnitMillimetre:
            return static_cast<int>(RoundHalfEven(dpi * value / 254 * 10));
        case UnitTenthMillimetre:
            return static_cast<int>(RoundHalfEven(dpi * value / 254));
        default:
            return static_cast<int>(RoundHalfEven(value));
    }
}

double PixelsToUnits(double pixels, int mode, int dpi) {
    if (dpi <= 0) return pixels;
    switch (mode) {
        case UnitTenthInch:
            return pixels * 10 / dpi;
        case UnitMillimetre:
            return pixels * 254 / 10 / dpi;
        case UnitTenthMillimetre:
            return pixels * 254 / dpi;
        default:
            return pixels;
    }
}
