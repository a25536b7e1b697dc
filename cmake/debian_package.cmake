# The Debian package: what `cmake --install` puts in place, under /usr, with the run-time
# dependencies that dpkg-shlibdeps reads off the program and those it cannot see, and the
# copyright and changelog files that Debian asks of every package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME metronome)
set(CPACK_PACKAGE_VENDOR "Vorla")
set(CPACK_PACKAGE_CONTACT "Vorla Metronome developers <metronome@vorla.invalid>")
# The summary must not start with the package's name; description lines hold 80 characters.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "desktop metronome with an accented first beat, tap tempo and presets")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A metronome for musicians: one small window that clicks at the tempo you\n\
choose and marks the first beat of every measure. Tempos from the classical\n\
scale, typed or tapped; four click sounds; twelve signatures; an A4 reference\n\
tone; eight presets.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts for the dialog and xdg-open, through which it opens links; a sound server makes it heard.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse")
set(CPACK_STRIP_FILES ON)
# The desktop entry names the launcher by its final path, so the package is staged with DESTDIR
# under the prefix it installs to.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)

# /usr/share/doc/metronome/copyright in Debian's machine-readable form, with the text of LICENSE,
# and changelog.gz from the release notes in NEWS (cmake/release_notes.cmake).
file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(FIND "${licence}" "Permission is hereby granted" start)
string(SUBSTRING "${licence}" ${start} -1 licence)
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " LICENSE_TEXT " ${licence}")
configure_file(${CMAKE_SOURCE_DIR}/res/linux/copyright.in ${CMAKE_BINARY_DIR}/debian/copyright
               @ONLY)
write_debian_changelog(${CMAKE_BINARY_DIR}/debian/changelog ${CPACK_PACKAGE_NAME}
                       "${CPACK_PACKAGE_CONTACT}")
gzip_at_build(linux_docs ${CMAKE_BINARY_DIR}/debian/changelog changelog)
install(FILES ${CMAKE_BINARY_DIR}/debian/copyright ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})
include(CPack)
