// pipe-drain FIFO OUT.wav: reads what a pipe sink plays (16-bit mono at 48 kHz) from its FIFO into
// a WAV file until the writer closes it or SIGINT/SIGTERM arrives; the sink as the judge of a
// stream.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

volatile sig_atomic_t stopping = 0;

void Stop(int) {
    stopping = 1;
}

void Put32(unsigned char* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(v >> (8 * i));
}

// A canonical 44-byte header for DATA_BYTES of 16-bit mono PCM at 48 kHz.
std::array<unsigned char, 44> Header(std::uint32_t dataBytes) {
    std::array<unsigned char, 44> h{};
    std::memcpy(&h[0], "RIFF", 4);
    Put32(&h[4], 36 + dataBytes);
    std::memcpy(&h[8], "WAVEfmt ", 8);
    Put32(&h[16], 16);
    h[20] = 1;  // PCM
    h[22] = 1;  // mono
    Put32(&h[24], 48000);
    Put32(&h[28], 96000);
    h[32] = 2;
    h[34] = 16;
    std::memcpy(&h[36], "data", 4);
    Put32(&h[40], dataBytes);
    return h;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pipe-drain FIFO OUT.wav\n");
        return 2;
    }
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
    if (fcntl(fd, F_SETPIPE_SZ, 1 << 20) < 0)
        std::perror("pipe-drain: a FIFO of 1 MiB");
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
        std::perror("pipe-drain: the output");
        return 1;
    }
    auto header = Header(0);
    std::fwrite(header.data(), 1, header.size(), out);
    std::uint64_t total = 0;
    std::array<char, 1 << 16> buffer{};
    while (!stopping) {
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n <= 0)
            break;  // EINTR from the signal, or an error
        std::fwrite(buffer.data(), 1, static_cast<std::size_t>(n), out);
        total += static_cast<std::uint64_t>(n);
    }
    total -= total % 2;
    header = Header(static_cast<std::uint32_t>(total));
    std::fseek(out, 0, SEEK_SET);
    std::fwrite(header.data(), 1, header.size(), out);
    const bool ok = std::fclose(out) == 0;
    close(fd);
    return ok ? 0 : 1;
}
