// Range reduction plus short series: floor and the four basic operations are exact or correctly
// rounded by IEEE 754, so nothing here depends on the platform.
#include "tools/portable_math.h"

#include <cmath>

namespace tools {
namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

// sin(x) for |x| <= π/2 by its Taylor series to x^21; the first omitted term is below 1e-17.
double SineSeries(double x) {
    const double x2 = x * x;
    double sum = 0.0;
    for (int k = 21; k >= 3; k -= 2)
        sum = (sum + 1.0) * x2 / (-(k - 1.0) * k);
    return x * (1.0 + sum);
}

}  // namespace

double SineTurns(double turns) {
    double t = turns - std::floor(turns + 0.5);  // now in [-0.5, 0.5)
    if (t > 0.25)
        t = 0.5 - t;  // sin(π - x) = sin(x)
    if (t < -0.25)
        t = -0.5 - t;
    return SineSeries(t * kTwoPi);
}

double CosineTurns(double turns) {
    return SineTurns(turns + 0.25);
}

double Exp(double x) {
    // Halve into the range where the series converges fast, then square back up.
    int halvings = 0;
    while (x > 0.125 || x < -0.125) {
        x *= 0.5;
        ++halvings;
    }
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k <= 14; ++k) {
        term = term * x / k;
        sum += term;
    }
    for (int i = 0; i < halvings; ++i)
        sum *= sum;
    return sum;
}

}  // namespace tools
