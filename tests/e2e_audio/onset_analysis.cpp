// WAV reading (bounded by the file's bytes), onset detection, the line fit and tone finding.
#include "onset_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace onset_analysis {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// Reads a 16-bit PCM WAV file of at least NEED channels; PICK makes one sample of each frame
// from SAMPLE(channel).
template <typename Pick>
std::optional<Recording> ReadFrames(const std::string& path, unsigned need, Pick pick) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::size_t pos = 12;
    unsigned channels = 0, bits = 0;
    Recording rec;
    while (bytes.size() - pos >= 8) {
        const std::uint8_t* chunk = bytes.data() + pos;
        const std::size_t size = Le32(chunk + 4);
        const std::size_t body = pos + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && bytes.size() - body >= 16) {
            channels = Le16(bytes.data() + body + 2);
            rec.sampleRate = Le32(bytes.data() + body + 4);
            bits = Le16(bytes.data() + body + 14);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (channels == 0 || bits != 16 || channels < need)
                return std::nullopt;
            const std::size_t available = bytes.size() - body;
            const std::size_t dataBytes = size == 0 || size > available ? available : size;
            const std::size_t frameBytes = 2 * channels;
            for (std::size_t off = 0; off + frameBytes <= dataBytes; off += frameBytes) {
                const auto sample = [&](unsigned channel) {
                    return static_cast<std::int16_t>(
                               Le16(bytes.data() + body + off + 2 * channel)) /
                           32768.0f;
                };
                rec.samples.push_back(pick(sample));
            }
            return rec;
        }
        if (size > bytes.size() - body)
            return std::nullopt;
        pos = body + size + (size & 1);
    }
    return std::nullopt;
}

}  // namespace

std::optional<Recording> ReadWav(const std::string& path, Part part) {
    return ReadFrames(path, part == Part::kFirst ? 1 : 2, [part](const auto& sample) {
        return part == Part::kFirst    ? sample(0)
               : part == Part::kSecond ? sample(1)
                                       : sample(0) - sample(1);
    });
}

std::optional<Recording> ReadWavChannel(const std::string& path, unsigned channel) {
    if (channel >= 0xFFFF)  // more than a WAV file holds
        return std::nullopt;
    return ReadFrames(path, channel + 1, [channel](const auto& sample) { return sample(channel); });
}

std::vector<Onset> FindOnsets(const Recording& rec, float threshold, double gapMs) {
    std::vector<Onset> onsets;
    const auto gap = static_cast<std::size_t>(gapMs * rec.sampleRate / 1000);
    const std::size_t ms = rec.sampleRate / 1000;
    std::size_t quiet = gap;
    for (std::size_t i = 0; i < rec.samples.size(); ++i) {
        if (std::abs(rec.samples[i]) < threshold) {
            ++quiet;
            continue;
        }
        if (quiet >= gap) {
            float peak = 0;
            for (std::size_t j = i; j < std::min(rec.samples.size(), i + ms); ++j)
                peak = std::max(peak, std::abs(rec.samples[j]));
            onsets.push_back(Onset{static_cast<std::int64_t>(i), peak, false});
        }
        quiet = 0;
    }
    float loudest = 0;
    for (const Onset& o : onsets)
        loudest = std::max(loudest, o.peak);
    for (Onset& o : onsets)
        o.accent = o.peak >= 0.75f * loudest;
    return onsets;
}

Grid FitGrid(const std::vector<Onset>& onsets) {
    Grid g;
    g.count = onsets.size();
    if (onsets.size() < 2)
        return g;
    const double n = static_cast<double>(onsets.size());
    const double base = static_cast<double>(onsets[0].frame);
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    g.shortest = INT64_MAX;
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        const double x = static_cast<double>(i), y = static_cast<double>(onsets[i].frame) - base;
        sx += x, sy += y, sxx += x * x, sxy += x * y;
        if (i > 0) {
            const std::int64_t d = onsets[i].frame - onsets[i - 1].frame;
            g.shortest = std::min(g.shortest, d);
            g.longest = std::max(g.longest, d);
        }
    }
    g.meanInterval = static_cast<double>(onsets.back().frame - onsets[0].frame) / (n - 1);
    g.slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    g.intercept = base + (sy - g.slope * sx) / n;
    double sum = 0, sum2 = 0;
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        const double d =
            static_cast<double>(onsets[i].frame) - (g.intercept + g.slope * static_cast<double>(i));
        sum += d, sum2 += d * d;
        g.jitter = std::max(g.jitter, std::abs(d));
    }
    g.meanDeviation = sum / n;
    g.sdDeviation = std::sqrt(std::max(0.0, sum2 / n - g.meanDeviation * g.meanDeviation));
    return g;
}

Deviation FromIdeal(const std::vector<Onset>& onsets, double idealInterval) {
    Deviation d;
    if (onsets.empty())
        return d;
    double sum = 0, sum2 = 0;
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        const double e = static_cast<double>(onsets[i].frame - onsets[0].frame) -
                         idealInterval * static_cast<double>(i);
        sum += e, sum2 += e * e;
        d.maxAbs = std::max(d.maxAbs, std::abs(e));
    }
    const double n = static_cast<double>(onsets.size());
    d.mean = sum / n;
    d.sd = std::sqrt(std::max(0.0, sum2 / n - d.mean * d.mean));
    return d;
}

std::vector<Tone> FindTones(const Recording& rec, double minMs, double tolerance, float threshold) {
    std::vector<Tone> tones;
    Tone run;
    double last = -1;  // the previous rising crossing, or -1 when a run must start afresh
    float swing = 0;   // the largest magnitude since that crossing
    const auto close = [&] {
        if (run.cycles >= 20 && run.end - run.start >= minMs * rec.sampleRate / 1000) {
            const double period = (run.end - run.start) / static_cast<double>(run.cycles);
            run.frequency = rec.sampleRate / period;
            // What cut the tone short, or silence where it ended by itself.
            const auto from = static_cast<std::size_t>(std::ceil(run.end + period));
            const std::size_t to = std::min(rec.samples.size(), from + rec.sampleRate / 100);
            for (std::size_t i = from; i < to; ++i)
                run.after = std::max(run.after, std::abs(rec.samples[i]));
            tones.push_back(run);
        }
        run = Tone{};
    };
    for (std::size_t i = 1; i < rec.samples.size(); ++i) {
        const float a = rec.samples[i - 1], b = rec.samples[i];
        swing = std::max(swing, std::abs(b));
        if (!(a < 0 && b >= 0))
            continue;
        const double crossing = static_cast<double>(i - 1) + a / (a - b);
        if (last >= 0 && swing >= threshold) {
            const double period = crossing - last;
            if (run.cycles == 0) {
                run.start = last;
            } else {
                const double mean = (last - run.start) / static_cast<double>(run.cycles);
                if (std::abs(period - mean) > tolerance * mean) {
                    close();
                    run.start = last;
                }
            }
            run.end = crossing;
            run.peak = std::max(run.peak, swing);
            ++run.cycles;
        } else {
            close();
        }
        last = crossing;
        swing = 0;
    }
    close();
    return tones;
}

}  // namespace onset_analysis
