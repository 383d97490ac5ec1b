#pragma once

#include "ColorTypes.h"

namespace chromint {

// RGB <-> XYZ <-> L*a*b*: the sRGB curve and matrices with a D50 reference white and the
// program's shortened constants, so white is about L*a*b* 100, -2.38, -19.37.

struct XYZ {
    double x = 0, y = 0, z = 0;
};
struct Lab {
    double l = 0, a = 0, b = 0;
};
struct LCh {
    double l = 0, c = 0, h = 0;
};

XYZ RGBToXYZ(TColor color);
Lab XYZToLab(double x, double y, double z);
Lab RGBToLab(TColor color);
XYZ LabToXYZ(double l, double a, double b);
TColor XYZToRGB(double x, double y, double z);
TColor LabToRGB(double l, double a, double b);
LCh LabToLCh(double l, double a, double b);

double GetCIEXValue(TColor color);
double GetCIEYValue(TColor color);
double GetCIEZValue(TColor color);
double GetCIELValue(TColor color);
double GetCIEAValue(TColor color);
double GetCIEBValue(TColor color);
double GetCIECValue(TColor color);
double GetCIEHValue(TColor color);

} // namespace chromint
