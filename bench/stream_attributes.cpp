// stream-attributes SINK SECONDS CHANNEL QUEUE_MS REQUEST_MS PREBUF_MS FLAGS [hold]: a client that
// keeps exact time through the sound server's asynchronous API, with the stream attributes given,
// to compare one way of asking for a stream with another in the same sink. It counts frames: a
// click every 600 ms at 48 kHz, mono on channel CHANNEL (aux0, aux1, ...) of SINK, written in
// answer to every request, for SECONDS. A figure of -1 leaves it to the server. FLAGS: adjust
// (adjusted latency), early (early requests) or none. With "hold", the graph is asked to keep its
// period while the stream is in it.
#include <pulse/pulseaudio.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr long kRate = 48000;
constexpr long kPeriod = 600 * kRate / 1000;

struct Client {
    char** args;
    long total = 0;
    long frame = 0;
    std::vector<float> click;
    std::vector<float> block;
    pa_stream* stream = nullptr;
    bool failed = false;
};

std::uint32_t Bytes(const char* ms) {
    const long v = std::atol(ms);
    return v < 0 ? static_cast<std::uint32_t>(-1)
                 : static_cast<std::uint32_t>(v * kRate / 1000 * sizeof(float));
}

void OnWrite(pa_stream* stream, std::size_t bytes, void* data) {
    auto* c = static_cast<Client*>(data);
    const std::size_t frames = bytes / sizeof(float);
    c->block.resize(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const long into = (c->frame + static_cast<long>(i)) % kPeriod;
        c->block[i] = into < static_cast<long>(c->click.size())
                          ? c->click[static_cast<std::size_t>(into)]
                          : 0.0f;
    }
    c->frame += static_cast<long>(frames);
    pa_stream_write(stream, c->block.data(), frames * sizeof(float), nullptr, 0, PA_SEEK_RELATIVE);
}

void OnContext(pa_context* context, void* data) {
    auto* c = static_cast<Client*>(data);
    const auto state = pa_context_get_state(context);
    if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) {
        c->failed = true;
        return;
    }
    if (state != PA_CONTEXT_READY)
        return;
    char** a = c->args;
    const pa_sample_spec sample{PA_SAMPLE_FLOAT32NE, kRate, 1};
    pa_channel_map map;
    pa_channel_map_init_mono(&map);
    map.map[0] = pa_channel_position_from_string(a[3]);
    pa_proplist* what = pa_proplist_new();
    if (c->args[8] && std::string(c->args[8]) == "hold")
        pa_proplist_sets(what, "node.lock-quantum", "true");
    c->stream = pa_stream_new_with_proplist(context, "clicks", &sample, &map, what);
    pa_proplist_free(what);
    pa_stream_set_write_callback(c->stream, OnWrite, c);
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = Bytes(a[4]);
    attr.minreq = Bytes(a[5]);
    attr.prebuf = Bytes(a[6]);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    const std::string flags = a[7];
    const auto how = flags == "adjust"  ? PA_STREAM_ADJUST_LATENCY
                     : flags == "early" ? PA_STREAM_EARLY_REQUESTS
                                        : PA_STREAM_NOFLAGS;
    if (pa_stream_connect_playback(c->stream, a[1], &attr, how, nullptr, nullptr) < 0)
        c->failed = true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 8 || pa_channel_position_from_string(argv[3]) == PA_CHANNEL_POSITION_INVALID) {
        std::fprintf(stderr,
                     "usage: stream-attributes SINK SECONDS CHANNEL QUEUE_MS REQUEST_MS "
                     "PREBUF_MS adjust|early|none [hold]\n");
        return 2;
    }
    Client c;
    c.args = argv;
    c.total = std::atol(argv[2]) * kRate;
    c.click.resize(240);  // a 5 ms decaying 1 kHz click
    for (std::size_t i = 0; i < c.click.size(); ++i)
        c.click[i] = 0.9f * std::exp(-static_cast<float>(i) / 60.0f) *
                     std::sin(2.0f * 3.14159265f * 1000.0f * static_cast<float>(i) / kRate);
    c.click[0] = 0.9f;
    pa_mainloop* loop = pa_mainloop_new();
    pa_context* context =
        pa_context_new(pa_mainloop_get_api(loop), (std::string("attributes-") + argv[3]).c_str());
    pa_context_set_state_callback(context, OnContext, &c);
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        c.failed = true;
    while (!c.failed && c.frame < c.total)
        if (pa_mainloop_iterate(loop, 1, nullptr) < 0)
            break;
    if (c.stream) {
        const pa_buffer_attr* got = pa_stream_get_buffer_attr(c.stream);
        if (got)
            std::printf("queue %u, request %u, prebuffer %u frames\n",
                        got->tlength / static_cast<unsigned>(sizeof(float)),
                        got->minreq / static_cast<unsigned>(sizeof(float)),
                        got->prebuf / static_cast<unsigned>(sizeof(float)));
    }
    pa_context_set_state_callback(context, nullptr, nullptr);
    pa_context_disconnect(context);
    pa_context_unref(context);
    pa_mainloop_free(loop);
    if (c.failed)
        std::fprintf(stderr, "stream-attributes: no server or no stream\n");
    return c.failed ? 1 : 0;
}
