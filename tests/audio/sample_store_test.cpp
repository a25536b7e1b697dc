// Loading one sample file into a slot: a whole PCM WAVE image is kept byte for byte, anything else
// leaves the slot empty (and silent) instead of half-filled.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "audio/sample_store.h"
#include "support/scratch_folder.h"
#include "support/test_waves.h"

namespace {

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

TEST(SampleStore, AWholeWaveImageLoadsByteForByteAndAFailedLoadEmptiesTheSlot) {
    ScratchFolder folder;
    const std::vector<std::uint8_t> wave = test_waves::AccentWave();
    WriteBytes(folder / "good.wav", wave);
    SampleSlot slot;
    LoadSample((folder / "good.wav").string().c_str(), slot);
    ASSERT_TRUE(slot);
    ASSERT_EQ(slot.size(), wave.size());
    EXPECT_EQ(std::memcmp(slot.get(), wave.data(), wave.size()), 0);

    LoadSample((folder / "missing.wav").string().c_str(), slot);
    EXPECT_FALSE(slot);
    EXPECT_EQ(slot.size(), 0u);
}

TEST(SampleStore, FilesThatAreNoWholePcmWaveImageLeaveTheSlotEmpty) {
    ScratchFolder folder;
    const std::vector<std::uint8_t> wave = test_waves::AccentWave();
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"text", std::vector<std::uint8_t>{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'}},
        {"cut in its header", std::vector<std::uint8_t>(wave.begin(), wave.begin() + 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(folder / "sample.wav", c.bytes);
        SampleSlot slot;
        LoadSample((folder / "sample.wav").string().c_str(), slot);
        EXPECT_FALSE(slot);
    }
}

TEST(SampleStore, ABrokenSoundIsNamedOnTheTerminalByItsNativePath) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder / "sounds");
    WriteBytes(folder / "sounds" / "Click1.wav", {'n', 'o', 'n', 'e'});
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    SampleSlot slot;
    testing::internal::CaptureStderr();
    LoadSample("sounds\\Click1.wav", slot);
    const std::string said = testing::internal::GetCapturedStderr();
    std::filesystem::current_path(before);
    EXPECT_FALSE(slot);
#ifdef _WIN32
    EXPECT_NE(said.find("sounds\\Click1.wav: is not a PCM WAVE file"), std::string::npos) << said;
#else
    EXPECT_NE(said.find("sounds/Click1.wav: is not a PCM WAVE file"), std::string::npos) << said;
#endif
}

}  // namespace
