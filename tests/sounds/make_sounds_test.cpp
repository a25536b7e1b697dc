// The committed samples are exactly what make_sounds writes in this build, whatever its
// optimisation level or sanitizers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "read_file.h"

namespace sounds_test {
namespace {

namespace fs = std::filesystem;

std::set<std::string> WavNames(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".wav")
            names.insert(entry.path().filename().string());
    return names;
}

TEST(MakeSounds, ReproducesTheCommittedFilesByteForByte) {
    const fs::path out = SCRATCH_DIR;
    fs::remove_all(out);
    std::string command = std::string("\"") + MAKE_SOUNDS + "\" \"" + out.string() + "\"";
#ifdef _WIN32
    command = "\"" + command + "\"";  // cmd.exe drops the outermost pair of quotes
#endif
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const fs::path committed = fs::path(SOURCE_DIR) / "sounds";
    const std::set<std::string> names = WavNames(out);
    EXPECT_EQ(names.size(), 9u);
    EXPECT_EQ(names, WavNames(committed));
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(ReadFile(out / name) == ReadFile(committed / name))
            << "regenerate with: cmake --build <build> --target regenerate_sounds";
    }
}

}  // namespace
}  // namespace sounds_test
