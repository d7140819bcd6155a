# The Debian package: `make package` (or `cpack` in a built build folder) writes
# lanvo_<version>_<arch>.deb. Its dependencies come from the shared libraries the program links.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lanvo)
set(CPACK_PACKAGE_VENDOR "Lanvo developers")
set(CPACK_PACKAGE_CONTACT "Lanvo developers <lanvo@lanvo.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front-end for the Corvane emulator")
set(CPACK_PACKAGE_DESCRIPTION "Lanvo keeps a catalogue of the games the Corvane emulator can run,
shows which of them are in your ROM folders, shows their pictures, keeps the
emulator's options and runs the emulator on the chosen game, through DOSBox
when the emulator is a DOS program.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Debian's section for emulators; "games" would ask for the program in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION otherosfs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The DOS emulator runs through DOSBox; a native emulator needs nothing more.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS dosbox)

# cpack packs the tree as built, without running the build itself, so that a package test never
# builds; the top-level `make package` builds first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
