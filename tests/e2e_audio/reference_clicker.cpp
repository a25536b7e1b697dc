// reference-clicker PERIOD_MS SECONDS [SINK [QUEUE_MS [left]]]: the plainest client that keeps
// time, to compare the program with. It counts frames: a click every PERIOD_MS at 48 kHz, written
// through the sound server's blocking client API to SINK (default: the default sink) with QUEUE_MS
// queued (default 30, asked for a third at a time), for SECONDS; with "left", on the left channel
// only, so that it can share a stereo sink with the program and still be told apart.
#include <pulse/simple.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: reference-clicker PERIOD_MS SECONDS [SINK [QUEUE_MS [left]]]\n");
        return 2;
    }
    constexpr long kRate = 48000;
    const long period = std::atol(argv[1]) * kRate / 1000;
    const long total = std::atol(argv[2]) * kRate;
    const char* sink = argc > 3 ? argv[3] : nullptr;  // the default sink
    const long queueMs = argc > 4 ? std::max(4L, std::atol(argv[4])) : 30;
    pa_sample_spec sample{PA_SAMPLE_FLOAT32NE, kRate, 1};
    pa_channel_map left{};
    pa_channel_map_init_mono(&left);
    left.map[0] = PA_CHANNEL_POSITION_FRONT_LEFT;
    const bool leftOnly = argc > 5 && std::string(argv[5]) == "left";
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(queueMs * kRate / 1000 * sizeof(float));
    attr.prebuf = 0;
    attr.minreq = attr.tlength / 3;
    attr.fragsize = static_cast<std::uint32_t>(-1);
    int error = 0;
    pa_simple* s = pa_simple_new(nullptr, "reference-clicker", PA_STREAM_PLAYBACK, sink, "clicks",
                                 &sample, leftOnly ? &left : nullptr, &attr, &error);
    if (!s) {
        std::fprintf(stderr, "reference-clicker: no server\n");
        return 1;
    }
    // A 5 ms decaying 1 kHz click, like the program's.
    std::vector<float> click(240);
    for (std::size_t i = 0; i < click.size(); ++i)
        click[i] = 0.9f * std::exp(-static_cast<float>(i) / 60.0f) *
                   std::sin(2.0f * 3.14159265f * 1000.0f * static_cast<float>(i) / kRate);
    click[0] = 0.9f;
    std::vector<float> block(480);
    for (long frame = 0; frame < total; frame += static_cast<long>(block.size())) {
        for (std::size_t i = 0; i < block.size(); ++i) {
            const long into = (frame + static_cast<long>(i)) % period;
            block[i] = into < static_cast<long>(click.size())
                           ? click[static_cast<std::size_t>(into)]
                           : 0.0f;
        }
        if (pa_simple_write(s, block.data(), block.size() * sizeof(float), &error) < 0)
            break;
    }
    pa_simple_drain(s, &error);
    pa_simple_free(s);
    return 0;
}
