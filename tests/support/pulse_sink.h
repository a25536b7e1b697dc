// The pulse-null-sink script from C++: a private sound server (PulseAudio, or PipeWire when
// SOUND_SERVER=pipewire) with a null sink for the lifetime of the object, with the recording of
// its output. Used by the end-to-end tests and the benchmark.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class PulseSink {
  public:
    // script: the path of tests/support/pulse-null-sink.
    explicit PulseSink(std::string script) : script_(std::move(script)) {
        char pattern[] = "/tmp/metronome-pulse-XXXXXX";
        if (!mkdtemp(pattern))
            return;
        dir_ = pattern;
        started_ = Run("start");
        if (started_)
            setenv("PULSE_SERVER", Server().c_str(), 1);
    }
    ~PulseSink() {
        Stop();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    PulseSink(const PulseSink&) = delete;
    PulseSink& operator=(const PulseSink&) = delete;

    bool Started() const { return started_; }
    const std::string& Dir() const { return dir_; }
    // Starts recording into Dir()/name before anything plays; returns once the recorder writes.
    bool Record(const std::string& name) { return Run("record", dir_ + "/" + name); }
    // Ends the recording (the file is then complete) and the server.
    void Stop() {
        if (started_)
            Run("stop");
        started_ = false;
        unsetenv("PULSE_SERVER");
    }

    static bool Available() {
        const char* server = std::getenv("SOUND_SERVER");
        return std::system(
                   server && std::string(server) == "pipewire"
                       ? "command -v pipewire pipewire-pulse wireplumber parecord >/dev/null"
                       : "command -v pulseaudio parecord >/dev/null") == 0;
    }

  private:
    // The socket that the script wrote into DIR/env as PULSE_SERVER=...
    std::string Server() const {
        std::ifstream env(dir_ + "/env");
        std::string line;
        std::getline(env, line);
        return line.substr(line.find('=') + 1);
    }
    bool Run(const std::string& command, const std::string& file = "") {
        const std::string line = "'" + script_ + "' " + command + " '" + dir_ + "'" +
                                 (file.empty() ? "" : " '" + file + "'");
        return std::system(line.c_str()) == 0;
    }

    std::string script_;
    std::string dir_;
    bool started_ = false;
};
