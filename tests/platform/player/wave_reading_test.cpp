// Outside bytes: images cut short, lying about their sizes or randomly damaged are refused or
// read within their bytes (run under AddressSanitizer, every image lies in a buffer of its exact
// size), and the player plays only what the registry says was loaded.
#include <gtest/gtest.h>

#include <random>

#include "platform/player/offline_renderer.h"
#include "platform/sound_images.h"
#include "platform/wave_image.h"
#include "support/test_waves.h"

namespace {

using platform::ParseWaveImage;

void ExpectWithin(const std::vector<std::uint8_t>& bytes) {
    // A heap copy of exactly this size, so that any over-read is caught by the sanitizer.
    const auto copy = std::make_unique<std::uint8_t[]>(bytes.size() ? bytes.size() : 1);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    const auto image = ParseWaveImage(copy.get(), bytes.size());
    if (!image)
        return;
    EXPECT_GE(image->data, copy.get());
    EXPECT_LE(image->data + image->dataBytes, copy.get() + bytes.size());
    EXPECT_EQ(image->dataBytes % image->BytesPerFrame(), 0u);
    float sum = 0;
    for (std::size_t f = 0; f < image->Frames(); ++f)
        for (unsigned c = 0; c < image->channels; ++c)
            sum += image->Sample(f, c);
    EXPECT_TRUE(std::isfinite(sum));
}

TEST(WaveReading, EveryTruncationIsRefusedOrReadWithinItsBytes) {
    const auto wave = test_waves::MakeWave(test_waves::Click(0.5f, 2), {44100, 2, 16});
    for (std::size_t n = 0; n <= wave.size(); ++n) {
        SCOPED_TRACE(testing::Message() << "cut to " << n << " bytes");
        const std::vector<std::uint8_t> cut(wave.begin(), wave.begin() + static_cast<long>(n));
        ExpectWithin(cut);
        if (n < wave.size()) {
            EXPECT_FALSE(ParseWaveImage(cut.data(), cut.size())) << n;
        }
    }
}

// Found by the fuzzer: a RIFF size too small for "WAVE" itself, with bytes after it.
TEST(WaveReading, ARiffSizeShorterThanTheFormTypeIsRefused) {
    const std::vector<std::uint8_t> bytes = {'R', 'I', 'F', 'F', 1,   0,   0,
                                             0,   'W', 'A', 'V', 'E', 0xA3};
    ExpectWithin(bytes);
    EXPECT_FALSE(ParseWaveImage(bytes.data(), bytes.size()));
}

TEST(WaveReading, RandomDamageNeverReadsPastTheImage) {
    const std::vector<std::vector<std::uint8_t>> seeds = {
        test_waves::MakeWave(test_waves::Click(0.5f, 1), {48000, 1, 16}),
        test_waves::MakeWave(test_waves::Click(0.5f, 1), {22050, 2, 8}),
    };
    std::mt19937 rng(20071111);
    for (int round = 0; round < 20000; ++round) {
        auto bytes = seeds[static_cast<std::size_t>(round) % seeds.size()];
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % bytes.size();
            switch (rng() % 4) {
                case 0:
                    bytes[at] = static_cast<std::uint8_t>(rng());
                    break;
                case 1:
                    bytes[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
                    break;
                case 2:
                    bytes.resize(at);
                    break;
                default:  // a large size field somewhere
                    if (at + 4 <= bytes.size())
                        for (int i = 0; i < 4; ++i)
                            bytes[at + static_cast<std::size_t>(i)] = 0xFF;
            }
            if (bytes.empty())
                break;
        }
        ExpectWithin(bytes);
    }
}

TEST(WaveReading, ThePlayerReadsNoMoreThanTheRegisteredBytes) {
    // The image claims 4800 frames, but only its first 1000 bytes were loaded.
    const auto full = test_waves::MakeWave(std::vector<float>(4800, 0.25f));
    const std::vector<std::uint8_t> loaded(full.begin(), full.begin() + 1000);
    const auto copy = std::make_unique<std::uint8_t[]>(loaded.size());
    std::copy(loaded.begin(), loaded.end(), copy.get());
    platform::RegisterSoundImage(copy.get(), loaded.size());
    platform::player::OfflineRenderer renderer({}, {}, true);
    EXPECT_EQ(
        renderer.Player().Play(reinterpret_cast<const char*>(copy.get()), SND_ASYNC | SND_MEMORY),
        FALSE);
    // Registered in full, a well-formed image plays whole.
    platform::RegisterSoundImage(full.data(), full.size());
    EXPECT_EQ(
        renderer.Player().Play(reinterpret_cast<const char*>(full.data()), SND_ASYNC | SND_MEMORY),
        TRUE);
    renderer.Advance(300'000'000);
    std::size_t sounding = 0;
    for (float v : renderer.Audio())
        sounding += v != 0.0f;
    EXPECT_EQ(sounding, 4800u);
    platform::UnregisterSoundImage(copy.get());
    platform::UnregisterSoundImage(full.data());
}

}  // namespace
