// Build-time tool: writes the icon file, the manifest and the resource script of the Windows
// program.
// Usage: make_win_resources <output folder>
#include <cstdio>
#include <fstream>
#include <string>

#include "res/app_icon.h"
#include "res/windows/icon_file.h"
#include "res/windows/resource_script.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_win_resources <output folder>\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const auto icon = res::windows::IconFile(res::AppIcon().images);
    std::ofstream ico(folder + "/metronome.ico", std::ios::binary);
    ico.write(reinterpret_cast<const char*>(icon.data()),
              static_cast<std::streamsize>(icon.size()));
    std::ofstream manifest(folder + "/metronome.manifest", std::ios::binary);
    manifest << res::windows::Manifest();
    std::ofstream rc(folder + "/metronome.rc", std::ios::binary);
    rc << res::windows::ResourceScript("metronome.ico", "metronome.manifest");
    if (!ico || !manifest || !rc) {
        std::fputs("make_win_resources: could not write the output files\n", stderr);
        return 1;
    }
    return 0;
}
