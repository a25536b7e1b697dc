# The Windows resource script and icon, generated at build time from res/ by make_win_resources,
# which is built with the build machine's compiler. Defines METRONOME_WIN_RC (the script's path).
include(ExternalProject)
set(_host_dir ${CMAKE_BINARY_DIR}/host-tools)
ExternalProject_Add(make_win_resources_host
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/res/windows/host
    BINARY_DIR ${_host_dir}
    CMAKE_ARGS -DMETRONOME_SOURCE_DIR=${CMAKE_SOURCE_DIR} -DCMAKE_BUILD_TYPE=Release
               -DMETRONOME_WERROR=${METRONOME_WERROR}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)

set(_out ${CMAKE_BINARY_DIR}/win-resources)
set(METRONOME_WIN_RC ${_out}/metronome.rc)
add_custom_command(
    OUTPUT ${_out}/metronome.rc ${_out}/metronome.ico ${_out}/metronome.manifest
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_out}
    COMMAND ${_host_dir}/make_win_resources ${_out}
    DEPENDS make_win_resources_host
            ${CMAKE_SOURCE_DIR}/res/app_icon.cpp ${CMAKE_SOURCE_DIR}/res/strings.cpp
            ${CMAKE_SOURCE_DIR}/res/version.h ${CMAKE_SOURCE_DIR}/res/windows/icon_file.cpp
            ${CMAKE_SOURCE_DIR}/res/windows/resource_script.cpp
    COMMENT "Writing the Windows resource script and icon")
