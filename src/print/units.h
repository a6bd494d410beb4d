#pragma once

// Units of the print layer: 0 device pixels, 1 tenths of an inch, 2 millimetres, 3 tenths of a
// millimetre; any other mode works in device pixels.
inline constexpr int UnitPixels = 0;
inline constexpr int UnitTenthInch = 1;
inline constexpr int UnitMillimetre = 2;
inline constexpr int UnitTenthMillimetre = 3;

// To the nearest integer, halves to the even one, as everywhere in printing.
long long RoundHalfEven(double value);

// A length in `mode` units to whole device pixels at `dpi`, and back (not rounded).
int UnitsToPixels(double value, int mode, int dpi);
double PixelsToUnits(double pixels, int mode, int dpi);
