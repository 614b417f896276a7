# The installation: cmake --install <build> --prefix PREFIX places, in the folders
# of cmake/KivoInstallDirs.cmake (shown here with their defaults),
#   PREFIX/bin/kivo-rudovaz                 the program
#   PREFIX/lib/kivo-rudovaz/                the "System" folder: kivotools and the common dialogs,
#                                           and the program's run-time library kivoruntime
#   PREFIX/share/kivo-rudovaz/              the install folder "Path": the help file and the artwork
#   PREFIX/etc/xdg/Tulvex/Kivo Rudovaz.conf the machine-wide "Path" and "System" values
#                                           (/etc/xdg/... for the prefixes /usr and /)
# and the desktop entry, the icon and the file type of sound image files under PREFIX/share.
#
# The program links kivoruntime, and binds kivotools by name through the ordinary
# library search; the "System" folder is on the program's run path, relative to
# the program itself, so the installed program gets the copies in its own System
# folder wherever the installation was put. The common dialogs it loads from the
# folder that the "System" value names, once the start-up has checked them there.
# On Windows kivoruntime lies beside the program, where the system's loader looks.

# The common dialogs find the run-time library beside them, whoever loads them.
if(TARGET kivocomdlg)
  set_target_properties(kivocomdlg PROPERTIES INSTALL_RPATH "$ORIGIN")
endif()

foreach(library kivotools kivocomdlg)
  if(TARGET ${library})
    install(TARGETS ${library}
      LIBRARY DESTINATION ${KIVO_SYSTEM_DIR}
      RUNTIME DESTINATION ${KIVO_SYSTEM_DIR})
  endif()
endforeach()
if(TARGET kivoruntime)
  install(TARGETS kivoruntime
    LIBRARY DESTINATION ${KIVO_SYSTEM_DIR}
    RUNTIME DESTINATION ${KIVO_BIN_DIR})
endif()

if(TARGET kivo-rudovaz)
  # DT_RPATH rather than DT_RUNPATH: see cmake/KivoTools.cmake.
  set_target_properties(kivo-rudovaz PROPERTIES INSTALL_RPATH "$ORIGIN/${KIVO_SYSTEM_DIR_FROM_BIN}")
  if(UNIX AND NOT APPLE)
    target_link_options(kivo-rudovaz PRIVATE "LINKER:--disable-new-dtags")
  endif()
  install(TARGETS kivo-rudovaz RUNTIME DESTINATION ${KIVO_BIN_DIR})
endif()

install(FILES ${PROJECT_SOURCE_DIR}/resources/kivoHelp.hlp DESTINATION ${KIVO_PATH_DIR})
# The artwork lies beside the help file, not in a folder of its own: the start-up
# checks the install folder by the ordinary files in it, and the help file alone
# must not decide whether the installation is there.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/artwork/ DESTINATION ${KIVO_PATH_DIR}
  FILES_MATCHING PATTERN "*.svg" PATTERN "*.png")
install(FILES ${PROJECT_SOURCE_DIR}/resources/artwork/icon.svg
  DESTINATION ${KIVO_DATA_DIR}/icons/hicolor/scalable/apps RENAME kivo-rudovaz.svg)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/kivo-rudovaz.xml DESTINATION ${KIVO_DATA_DIR}/mime/packages)

# What depends on where the installation ends up is written when it is installed,
# so that a --prefix given to cmake --install holds.
install(CODE "
  set(KIVO_BIN_DIR \"${KIVO_BIN_DIR}\")
  set(KIVO_SYSTEM_DIR \"${KIVO_SYSTEM_DIR}\")
  set(KIVO_PATH_DIR \"${KIVO_PATH_DIR}\")
  set(KIVO_DATA_DIR \"${KIVO_DATA_DIR}\")
  set(KIVO_SYSCONF_DIR \"${KIVO_SYSCONF_DIR}\")
  set(KIVO_DESKTOP_TEMPLATE \"${PROJECT_SOURCE_DIR}/resources/desktop/kivo-rudovaz.desktop.in\")
")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/KivoInstallSettings.cmake)
