// Runs the whole application headless: resources, the in-memory backend, recording platform
// doubles with virtual time, and a private working folder holding a `sounds` folder.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/metronome_dlg.h"
#include "platform/doubles/fake_platform.h"
#include "ui/headless/headless_backend.h"

namespace test_support {

class AppHarness {
  public:
    AppHarness();
    ~AppHarness();
    AppHarness(const AppHarness&) = delete;
    AppHarness& operator=(const AppHarness&) = delete;

    // Starts the application; `user` acts on the main dialog, and must end it.
    void Run(std::function<void(ui::headless::Driver&)> user);
    // Queues what the user does in the next dialog the program opens from the main dialog.
    void ThenInNextDialog(std::function<void(ui::headless::Driver&)> user) {
        ui.OnNextDialog(std::move(user));
    }

    // Virtual time.
    void Advance(std::uint64_t ms) { fake.timers.Advance(ms); }
    std::uint64_t Now() const { return fake.timers.Now(); }

    // The sounds requested so far, by sample file ("Metronome1", "440Hz", "NULL" for a stop,
    // "empty" for an empty slot), with their flags and times.
    struct Sound {
        std::uint64_t timeMs;
        std::string name;
        DWORD flags;
    };
    std::vector<Sound> Sounds() const;
    // The names of the samples played once, in order, with their times: "600:Metronome2".
    std::vector<std::string> Clicks() const;
    // Platform calls of one kind (prefix), in order.
    std::vector<std::string> Calls(const std::string& prefix = "") const {
        return fake.log.Texts(prefix);
    }

    std::filesystem::path Folder() const { return folder_; }

    platform::doubles::FakePlatform fake;
    ui::headless::HeadlessBackend ui;

  private:
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

// The main dialog object behind a driver of the main dialog.
CMetronomeDlg& MainDialog(ui::headless::Driver& driver);

// The sample files of a `sounds` folder, each made of a distinct sample value.
void WriteTestSounds(const std::filesystem::path& soundsFolder);

}  // namespace test_support
