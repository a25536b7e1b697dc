// The usual bilinear-transform biquads, with coefficients from the portable sine.
#include "tools/biquad.h"

#include "tools/portable_math.h"

namespace tools {

Biquad::Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
    : b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0), a1_(a1 / a0), a2_(a2 / a0) {}

Biquad Biquad::LowPass(double cutoffHz, double q, double sampleRate) {
    const double turns = cutoffHz / sampleRate;
    const double cosw = CosineTurns(turns);
    const double alpha = SineTurns(turns) / (2.0 * q);
    return Biquad((1.0 - cosw) / 2.0, 1.0 - cosw, (1.0 - cosw) / 2.0, 1.0 + alpha, -2.0 * cosw,
                  1.0 - alpha);
}

Biquad Biquad::HighPass(double cutoffHz, double q, double sampleRate) {
    const double turns = cutoffHz / sampleRate;
    const double cosw = CosineTurns(turns);
    const double alpha = SineTurns(turns) / (2.0 * q);
    return Biquad((1.0 + cosw) / 2.0, -(1.0 + cosw), (1.0 + cosw) / 2.0, 1.0 + alpha, -2.0 * cosw,
                  1.0 - alpha);
}

Biquad Biquad::BandPass(double centreHz, double q, double sampleRate) {
    // Peak gain 1 at the centre frequency.
    const double turns = centreHz / sampleRate;
    const double cosw = CosineTurns(turns);
    const double alpha = SineTurns(turns) / (2.0 * q);
    return Biquad(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * cosw, 1.0 - alpha);
}

double Biquad::Process(double x) {
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

}  // namespace tools
