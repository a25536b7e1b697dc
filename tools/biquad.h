// Second-order filter sections for shaping noise and transients.
#pragma once

namespace tools {

class Biquad {
  public:
    static Biquad LowPass(double cutoffHz, double q, double sampleRate);
    static Biquad HighPass(double cutoffHz, double q, double sampleRate);
    static Biquad BandPass(double centreHz, double q, double sampleRate);

    double Process(double x);

  private:
    Biquad(double b0, double b1, double b2, double a0, double a1, double a2);

    double b0_, b1_, b2_, a1_, a2_;
    double x1_ = 0.0, x2_ = 0.0, y1_ = 0.0, y2_ = 0.0;
};

}  // namespace tools
