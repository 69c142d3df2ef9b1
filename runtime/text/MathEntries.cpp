#include "text/MathEntries.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "text/Random.h"

namespace runtime {

ParkMillerRandom& processRandom() {
    static ParkMillerRandom generator;
    return generator;
}

}  // namespace runtime

double RuntimeAbs(double x) { return x < 0 ? -x : x; }
double RuntimeMax(double a, double b) { return a > b ? a : b; }
double RuntimeMin(double a, double b) { return a < b ? a : b; }
// Halves round up: -2.5 gives -2.
double RuntimeRound(double x) { return std::floor(x + 0.5); }
double RuntimeCeil(double x) { return std::ceil(x); }
double RuntimeFloor(double x) { return std::floor(x); }
double RuntimeSqrt(double x) { return std::sqrt(x); }
double RuntimeExp(double x) { return std::exp(x); }
double RuntimeLog(double x) { return std::log(x); }
double RuntimePow(double x, double y) { return std::pow(x, y); }
double RuntimeSin(double x) { return std::sin(x); }
double RuntimeCos(double x) { return std::cos(x); }
double RuntimeTan(double x) { return std::tan(x); }
double RuntimeASin(double x) { return std::asin(x); }
double RuntimeATan(double x) { return std::atan(x); }
double RuntimeATan2(double y, double x) { return std::atan2(y, x); }

double RuntimeACos(double x) {
    if (x < -1 || x > 1) return std::numeric_limits<double>::quiet_NaN();
    return 2 * std::atan(std::sqrt((1 - x) / (1 + x)));
}

int32_t BitwiseAnd(int32_t a, int32_t b) { return a & b; }
int32_t BitwiseOr(int32_t a, int32_t b) { return a | b; }
int32_t BitwiseXor(int32_t a, int32_t b) { return a ^ b; }

int32_t RuntimeRGB(int32_t red, int32_t green, int32_t blue) {
    return std::clamp(red, 0, 255) * 65536 + std::clamp(green, 0, 255) * 256 + std::clamp(blue, 0, 255);
}

double rnd() {
    runtime::ParkMillerRandom& generator = runtime::processRandom();
    if (!generator.seeded()) generator.seed(GetTickCount());
    return generator.nextFraction();
}
