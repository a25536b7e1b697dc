// first-sound FILE: watches a WAV recording (16-bit mono, 48 kHz) as it is written and prints the
// wall clock (CLOCK_REALTIME, ns) at which the first loud sample after its start was recorded: the
// time it appeared, less its distance from the newest sample then (the recorder delivers whole
// fragments, the newest sample being the one just recorded). With the key press's time from the
// same clock, that is the delay from a key to its sound, plus the recorder's transport.
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

constexpr long long kRate = 48000;

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    std::ifstream in(argv[1], std::ios::binary);
    in.seekg(0, std::ios::end);
    std::streamoff pos = in.tellg();
    pos -= pos % 2;
    std::puts("watching");
    std::fflush(stdout);
    for (int i = 0; i < 20000; ++i) {
        timespec pause{0, 500'000};
        nanosleep(&pause, nullptr);
        in.clear();
        in.seekg(0, std::ios::end);
        const std::streamoff end = in.tellg();
        if (end - pos < 2)
            continue;
        std::vector<char> bytes(static_cast<std::size_t>(end - pos));
        in.seekg(pos);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        for (std::size_t j = 0; j + 1 < bytes.size(); j += 2) {
            const auto v = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[j]) |
                                                     static_cast<std::uint8_t>(bytes[j + 1]) << 8);
            if (std::abs(v) > 3000) {
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                const long long newer = static_cast<long long>(bytes.size() / 2 - j / 2 - 1);
                std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1'000'000'000 +
                                          now.tv_nsec - newer * 1'000'000'000 / kRate);
                return 0;
            }
        }
        pos += static_cast<std::streamoff>(bytes.size() - bytes.size() % 2);
    }
    return 1;
}
