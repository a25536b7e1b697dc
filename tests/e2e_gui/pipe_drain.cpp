// pipe-drain [--paced | --stereo | --channels=N] FIFO OUT.wav: reads what a pipe sink plays (16-bit
// at 48 kHz, mono, stereo or N channels) from its FIFO into a WAV file until the writer closes it
// or SIGINT/SIGTERM arrives; the sink as the judge of a stream. A pipe sink that has no clock of
// its own (PulseAudio's) writes as fast as it is read: --paced reads it as a sound card plays,
// 48,000 frames a second from a FIFO of four pages, and plays silence for what is not there in
// time, so that the file is in wall-clock time from its first frame. It says on stderr when that
// was, and where and how many frames it made up.
#include <fcntl.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

volatile sig_atomic_t stopping = 0;

void Stop(int) {
    stopping = 1;
}

void Put32(unsigned char* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(v >> (8 * i));
}

// A canonical 44-byte header for DATA_BYTES of 16-bit PCM at 48 kHz.
std::array<unsigned char, 44> Header(std::uint32_t dataBytes, unsigned channels) {
    std::array<unsigned char, 44> h{};
    std::memcpy(&h[0], "RIFF", 4);
    Put32(&h[4], 36 + dataBytes);
    std::memcpy(&h[8], "WAVEfmt ", 8);
    Put32(&h[16], 16);
    h[20] = 1;  // PCM
    h[22] = static_cast<unsigned char>(channels);
    Put32(&h[24], 48000);
    Put32(&h[28], 96000 * channels);
    h[32] = static_cast<unsigned char>(2 * channels);
    h[34] = 16;
    std::memcpy(&h[36], "data", 4);
    Put32(&h[40], dataBytes);
    return h;
}

constexpr std::int64_t kRate = 48000;
constexpr std::int64_t kTickNs = 5'000'000;

std::int64_t NowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

// Every 5 ms, the frames due by then: what the FIFO holds of them, and silence for the rest.
std::uint64_t DrainPaced(int fd, std::FILE* out, std::uint64_t& madeUp) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    std::array<char, 1 << 16> buffer{};
    const std::int64_t start = NowNs();
    timespec wall{};
    clock_gettime(CLOCK_REALTIME, &wall);
    // The wall-clock time of the file's first frame, for a test that places events in it.
    std::fprintf(stderr, "pipe-drain: the first frame at %lld.%09ld\n",
                 static_cast<long long>(wall.tv_sec), wall.tv_nsec);
    std::int64_t played = 0;
    std::int64_t next = start;
    while (!stopping) {
        next += kTickNs;
        timespec at{static_cast<time_t>(next / 1'000'000'000),
                    static_cast<long>(next % 1'000'000'000)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR &&
               !stopping) {
        }
        const std::int64_t due = (NowNs() - start) * kRate / 1'000'000'000 - played;
        std::size_t want = static_cast<std::size_t>(due) * 2;
        const std::uint64_t madeBefore = madeUp;
        while (want > 0) {
            const std::size_t chunk = want < buffer.size() ? want : buffer.size();
            ssize_t n = read(fd, buffer.data(), chunk);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                // Not there in time: a sound card plays silence and goes on.
                n = static_cast<ssize_t>(chunk);
                std::memset(buffer.data(), 0, chunk);
                madeUp += chunk / 2;
            }
            std::fwrite(buffer.data(), 1, static_cast<std::size_t>(n), out);
            want -= static_cast<std::size_t>(n);
        }
        if (madeUp > madeBefore)
            std::fprintf(
                stderr, "pipe-drain: silence at frame %lld: %llu frames\n",
                static_cast<long long>(played + due) - static_cast<long long>(madeUp - madeBefore),
                static_cast<unsigned long long>(madeUp - madeBefore));
        played += due;
    }
    return static_cast<std::uint64_t>(played) * 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string option = argc == 4 ? argv[1] : "";
    const bool paced = option == "--paced";
    unsigned channels = option == "--stereo" ? 2 : 1;
    if (option.rfind("--channels=", 0) == 0)
        channels = static_cast<unsigned>(std::atoi(option.c_str() + 11));
    if ((argc != 3 && !paced && channels == 1) || channels < 1 || channels > 32) {
        std::fprintf(stderr,
                     "usage: pipe-drain [--paced | --stereo | --channels=N] FIFO OUT.wav\n");
        return 2;
    }
    argv += argc - 3;
    struct sigaction action {};
    action.sa_handler = Stop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // Read-write: the open does not wait for the sink, and the FIFO never reports its end while
    // the sink reopens it.
    const int fd = open(argv[1], O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        std::perror("pipe-drain: the FIFO");
        return 1;
    }
    // The sink drops what does not fit into the FIFO: 1 MiB holds 10 s, however late we read.
    // Paced, the FIFO is the card's buffer: four pages, 171 ms, of which the sink is asked to fill
    // one (a pipe is writable when a page is free).
    if (fcntl(fd, F_SETPIPE_SZ, paced ? 16384 : 1 << 20) < 0)
        std::perror("pipe-drain: the FIFO's size");
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
        std::perror("pipe-drain: the output");
        return 1;
    }
    auto header = Header(0, channels);
    std::fwrite(header.data(), 1, header.size(), out);
    std::uint64_t total = 0;
    std::uint64_t madeUp = 0;
    if (paced) {
        total = DrainPaced(fd, out, madeUp);
        std::fprintf(stderr, "pipe-drain: %llu frames of silence made up\n",
                     static_cast<unsigned long long>(madeUp));
    }
    std::array<char, 1 << 16> buffer{};
    while (!stopping && !paced) {
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n <= 0)
            break;  // EINTR from the signal, or an error
        std::fwrite(buffer.data(), 1, static_cast<std::size_t>(n), out);
        total += static_cast<std::uint64_t>(n);
    }
    total -= total % (2 * channels);
    header = Header(static_cast<std::uint32_t>(total), channels);
    std::fseek(out, 0, SEEK_SET);
    std::fwrite(header.data(), 1, header.size(), out);
    const bool ok = std::fclose(out) == 0;
    close(fd);
    return ok ? 0 : 1;
}
