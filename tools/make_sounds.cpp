// make_sounds <output-folder>: writes the metronome's nine WAV samples into the folder.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "tools/sound_recipes.h"
#include "tools/wav_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sounds <output-folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "make_sounds: cannot create %s: %s\n", argv[1],
                     error.message().c_str());
        return 1;
    }
    for (const tools::Sound& sound : tools::MakeAllSounds()) {
        if (!tools::WriteWav(folder / sound.fileName, sound.samples)) {
            std::fprintf(stderr, "make_sounds: cannot write %s\n",
                         (folder / sound.fileName).string().c_str());
            return 1;
        }
    }
    return 0;
}
