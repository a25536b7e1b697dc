# The Debian package: what `cmake --install` puts in place, under /usr, with the run-time
# dependencies that dpkg-shlibdeps reads off the program and those it cannot see.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME metronome)
set(CPACK_PACKAGE_VENDOR "Vorla")
set(CPACK_PACKAGE_CONTACT "Vorla Metronome developers <metronome@vorla.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "metronome with an accented first beat, tap tempo and presets")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A metronome for musicians: one small window that clicks at the tempo you choose\n\
and marks the first beat of every measure. Tempos from the classical scale, typed or\n\
tapped; four click sounds; twelve signatures; an A4 reference tone; eight presets.")
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
include(CPack)
