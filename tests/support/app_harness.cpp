// The application harness starts each run from what a fresh process would have (ResetProcessState).
#include "app_harness.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "app/metronome_app.h"
#include "app/process_state.h"
#include "audio/sample_store.h"
#include "res/resources.h"
#include "wave_file.h"

namespace test_support {
namespace {

struct NamedSlot {
    const SampleSlot* slot;
    const char* name;
};
const NamedSlot kSlots[] = {
    {&g_p440Hz, "440Hz"},
    {&g_pHat1, "Hat1"},
    {&g_pHat2, "Hat2"},
    {&g_pMetronome1, "Metronome1"},
    {&g_pMetronome2, "Metronome2"},
    {&g_pRim1, "Rim1"},
    {&g_pRim2, "Rim2"},
    {&g_pClick1, "Click1"},
    {&g_pClick2, "Click2"},
};

std::filesystem::path MakeFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "metronome-test-XXXXXX").string();
#ifdef _WIN32
    // No mkdtemp on Windows: a unique name, then the folder.
    if (_mktemp_s(pattern.data(), pattern.size() + 1) != 0 ||
        !std::filesystem::create_directory(pattern))
        throw std::runtime_error("making a scratch folder failed");
#else
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
#endif
    return pattern;
}

}  // namespace

void WriteTestSounds(const std::filesystem::path& soundsFolder) {
    std::filesystem::create_directories(soundsFolder);
    std::int16_t value = 1000;
    for (const NamedSlot& s : kSlots) {
        WriteFile(soundsFolder / (std::string(s.name) + ".wav"),
                  MakeWave(std::vector<std::int16_t>(441, value)));
        value = static_cast<std::int16_t>(value + 1000);
    }
}

AppHarness::AppHarness() : folder_(MakeFolder()), previous_(std::filesystem::current_path()) {
    ui::InstallResources(res::Table());
    WriteTestSounds(folder_ / "sounds");
    std::filesystem::current_path(folder_);
    ResetProcessState();
    fake.player.SetNamer([](const char* image) -> std::string {
        for (const NamedSlot& s : kSlots)
            if (s.slot->get() == image)
                return s.name;
        return "unknown";
    });
}

AppHarness::~AppHarness() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    EXPECT_TRUE(ui.Problems().empty()) << ui.Problems().front();
}

CMetronomeDlg& MainDialog(ui::headless::Driver& driver) {
    return static_cast<CMetronomeDlg&>(driver.Window().Object());
}

void AppHarness::Run(std::function<void(ui::headless::Driver&)> user) {
    ui.OnFirstDialog(std::move(user));
    theApp.InitInstance();
}

std::vector<AppHarness::Sound> AppHarness::Sounds() const {
    std::vector<Sound> sounds;
    for (const auto& r : fake.player.Requests()) {
        std::string name = r.name;
        if (!r.image && (r.flags & SND_MEMORY))
            name = "empty";
        sounds.push_back({r.timeMs, name, r.flags});
    }
    return sounds;
}

std::vector<std::string> AppHarness::Clicks() const {
    std::vector<std::string> clicks;
    for (const Sound& s : Sounds())
        if (s.flags == (SND_ASYNC | SND_MEMORY))
            clicks.push_back(std::to_string(s.timeMs) + ":" + s.name);
    return clicks;
}

}  // namespace test_support
