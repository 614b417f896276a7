# Where the installation puts its files, below the prefix, by the GNU conventions
# (CMAKE_INSTALL_BINDIR, LIBDIR, DATADIR, SYSCONFDIR; each may be set when
# configuring). Included before any target, because the program and its tests
# are built knowing these folders.
#   KIVO_BIN_DIR       the program
#   KIVO_SYSTEM_DIR    the "System" folder: kivotools, the common dialogs and the
#                      run-time library kivoruntime
#   KIVO_PATH_DIR      the install folder "Path": the help file and the artwork
#   KIVO_DATA_DIR      the desktop entry, the icon and the file type of sound images
#   KIVO_SYSCONF_DIR   the machine-wide settings go to KIVO_SYSCONF_DIR/xdg; for the
#                      prefixes /usr and / that folder is /etc rather than /usr/etc
#                      (see cmake/KivoInstallSettings.cmake)
# The folders are relative to the prefix unless they were given absolute, so that
# cmake --install --prefix places a whole installation anywhere.

include(GNUInstallDirs)

set(KIVO_BIN_DIR "${CMAKE_INSTALL_BINDIR}")
set(KIVO_SYSTEM_DIR "${CMAKE_INSTALL_LIBDIR}/kivo-rudovaz")
set(KIVO_PATH_DIR "${CMAKE_INSTALL_DATADIR}/kivo-rudovaz")
set(KIVO_DATA_DIR "${CMAKE_INSTALL_DATADIR}")
set(KIVO_SYSCONF_DIR "${CMAKE_INSTALL_SYSCONFDIR}")

# The way from the program's folder to the System folder and to the prefix, which
# the program takes to find its libraries and its settings wherever it lies.
file(RELATIVE_PATH KIVO_SYSTEM_DIR_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_LIBDIR}/kivo-rudovaz")
file(RELATIVE_PATH KIVO_PREFIX_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_PREFIX}")
if(KIVO_PREFIX_FROM_BIN STREQUAL "")
  set(KIVO_PREFIX_FROM_BIN ".")
endif()
