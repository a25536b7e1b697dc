// onset-analyse [--right | --left-less-right | --channel K] FILE.wav [PERIOD_MS]: prints every
// onset (frame, seconds, peak, A for accent or R for regular, interval), every steady tone (first
// and last frame, cycles, frequency in Hz, its peak and the peak of what follows it), then the
// grid's figures; with a period, also the deviations from the ideal grid and the tempo error in
// ppm. For the end-to-end tests of the whole program. A stereo file is read from its left
// channel, or as the option says; --channel reads channel K (0 is the first) of a file with any
// number of channels.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "onset_analysis.h"

int main(int argc, char** argv) {
    auto part = onset_analysis::Part::kFirst;
    int channel = -1;
    if (argc > 1 && std::string(argv[1]) == "--right")
        part = onset_analysis::Part::kSecond;
    else if (argc > 1 && std::string(argv[1]) == "--left-less-right")
        part = onset_analysis::Part::kFirstLessSecond;
    else if (argc > 2 && std::string(argv[1]) == "--channel")
        channel = std::atoi(argv[2]), --argc, ++argv;
    if (part != onset_analysis::Part::kFirst || channel >= 0)
        --argc, ++argv;
    if (argc < 2 || channel < -1 || channel > 63) {
        std::fprintf(stderr,
                     "usage: onset-analyse [--right | --left-less-right | --channel K] "
                     "FILE.wav [PERIOD_MS]\n");
        return 2;
    }
    const auto rec = channel >= 0
                         ? onset_analysis::ReadWavChannel(argv[1], static_cast<unsigned>(channel))
                         : onset_analysis::ReadWav(argv[1], part);
    if (!rec || rec->sampleRate == 0) {
        std::fprintf(stderr, "onset-analyse: cannot read %s (16-bit PCM WAV expected)\n", argv[1]);
        return 1;
    }
    const auto onsets = onset_analysis::FindOnsets(*rec);
    const double rate = rec->sampleRate;
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        const auto& o = onsets[i];
        std::printf("onset %lld %.6f %.3f %c %lld\n", static_cast<long long>(o.frame),
                    static_cast<double>(o.frame) / rate, o.peak, o.accent ? 'A' : 'R',
                    static_cast<long long>(i ? o.frame - onsets[i - 1].frame : 0));
    }
    for (const auto& t : onset_analysis::FindTones(*rec))
        std::printf("tone %.1f %.1f %zu %.3f %.3f %.3f\n", t.start, t.end, t.cycles, t.frequency,
                    t.peak, t.after);
    const auto grid = onset_analysis::FitGrid(onsets);
    std::printf(
        "count %zu\nrate %.0f\nmean_interval %.3f\nshortest %lld\nlongest %lld\n"
        "jitter %.3f\nsd %.3f\n",
        grid.count, rate, grid.meanInterval, static_cast<long long>(grid.shortest),
        static_cast<long long>(grid.longest), grid.jitter, grid.sdDeviation);
    if (argc > 2) {
        const double ideal = std::atof(argv[2]) * rate / 1000;
        const auto dev = onset_analysis::FromIdeal(onsets, ideal);
        std::printf("ideal_mean %.3f\nideal_sd %.3f\nideal_max %.3f\ntempo_ppm %.1f\n", dev.mean,
                    dev.sd, dev.maxAbs, (ideal / grid.slope - 1) * 1e6);
    }
    return 0;
}
