# What a Linux desktop installation documents: the manual pages metronome(1) and
# metronome-desktop(1), gzipped as Debian keeps them, and the AppStream metadata that software
# centres list the program from. Version and date come from the release notes in NEWS.
# SPDX-License-Identifier: MIT
include(${CMAKE_CURRENT_LIST_DIR}/release_notes.cmake)

# Adds to `target` a build step that gzips `file` (in the build tree) into `file`.gz, reproducibly
# (no name, no time stamp), and sets `out` to the compressed file.
function(gzip_at_build target file out)
    add_custom_command(OUTPUT ${file}.gz
                       COMMAND gzip -9nfk ${file}
                       DEPENDS ${file}
                       COMMENT "Compressing ${file}"
                       VERBATIM)
    set_property(TARGET ${target} APPEND PROPERTY SOURCES ${file}.gz)
    set(${out} ${file}.gz PARENT_SCOPE)
endfunction()

add_custom_target(linux_docs ALL)
foreach(page metronome.1 metronome-desktop.1)
    configure_file(${CMAKE_SOURCE_DIR}/docs/${page}.in ${CMAKE_BINARY_DIR}/man/${page} @ONLY)
    gzip_at_build(linux_docs ${CMAKE_BINARY_DIR}/man/${page} compressed)
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

set(metainfo example.vorla.Metronome.metainfo.xml)
configure_file(${CMAKE_SOURCE_DIR}/res/linux/${metainfo}.in ${CMAKE_BINARY_DIR}/${metainfo} @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
