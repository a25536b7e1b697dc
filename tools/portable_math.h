// Sine and exponential built from + - * / only, so the samples come out bit-identical on every
// compiler, C library and optimisation level (libm's results may differ in the last bit).
#pragma once

namespace tools {

// sin(2π · turns), accurate to about 1e-15 for any finite argument.
double SineTurns(double turns);
// cos(2π · turns).
double CosineTurns(double turns);
// e^x, accurate to a few ulp for |x| up to a few hundred.
double Exp(double x);

}  // namespace tools
