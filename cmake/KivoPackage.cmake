# A Debian package of the installation: in the build folder,
#   cpack -G DEB
# makes kivo-rudovaz_VERSION_ARCH.deb, which installs under /usr (the settings under
# /etc/xdg) and depends on the libraries that the program and its libraries link.

set(CPACK_PACKAGE_NAME "kivo-rudovaz")
set(CPACK_PACKAGE_VENDOR "Tulvex")
set(CPACK_PACKAGE_CONTACT "Tulvex <support@tulvex.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.tulvex.com/kivo-rudovaz")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "librarian for the sound images of a Kivo unit")
set(CPACK_PACKAGE_DESCRIPTION [[
Kivo Rudovaz keeps a library of the sound image files (.tvs) of a Kivo
hardware unit, groups them into named load lists of 12 locations, saves,
prints, exports and imports those lists, and writes the active list to the
unit over a MIDI output port (ALSA or JACK).]])
# cpack stages the installation below DESTDIR with this prefix, so the settings
# and the desktop entry name the package's folders, not the staging folder.
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "sound")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Besides the libraries that are linked: the artwork is drawn by Qt's SVG image
# plugin, which the program loads rather than links; the window's design fonts
# have their stand-ins of the same metrics in Wine's Tahoma, which the program
# loads from the folder of fonts-wine itself (KIVO_STAND_IN_FONT_DIR), and in
# Liberation Sans, to which the system's font configuration maps Arial.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-wine, fonts-liberation2")

# The machine-wide settings lie in /etc, where every file of a package is one
# that dpkg keeps when the user has changed it.
if(IS_ABSOLUTE "${KIVO_SYSCONF_DIR}")
  set(kivo_package_sysconf "${KIVO_SYSCONF_DIR}")
else()
  set(kivo_package_sysconf "/${KIVO_SYSCONF_DIR}")
endif()
file(WRITE "${CMAKE_BINARY_DIR}/package/conffiles" "${kivo_package_sysconf}/xdg/Tulvex/Kivo Rudovaz.conf\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_BINARY_DIR}/package/conffiles")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
