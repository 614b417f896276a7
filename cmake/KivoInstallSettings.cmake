# Run by cmake --install once the files are in place. CMAKE_INSTALL_PREFIX is the
# prefix of this installation (also when given with --prefix); DESTDIR, when set,
# is a staging root that is not part of the recorded folders.

get_filename_component(kivo_prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)

# A folder of the installation as it will be used: relative ones lie below the prefix.
function(kivo_installed_dir out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  elseif(kivo_prefix STREQUAL "/")
    set(${out} "/${dir}" PARENT_SCOPE)
  else()
    set(${out} "${kivo_prefix}/${dir}" PARENT_SCOPE)
  endif()
endfunction()

# The system's own prefixes keep their settings in /etc, as GNUInstallDirs has it;
# the program looks there from its own folder by the same rule.
if(kivo_prefix STREQUAL "/usr" AND NOT IS_ABSOLUTE "${KIVO_SYSCONF_DIR}")
  set(kivo_sysconf "/${KIVO_SYSCONF_DIR}")
else()
  kivo_installed_dir(kivo_sysconf "${KIVO_SYSCONF_DIR}")
endif()

# QSettings reads a quoted value literally once its backslashes and quotes are
# escaped; unquoted, a comma would split the folder into a list.
function(kivo_ini_text out value)
  string(REPLACE "\\" "\\\\" value "${value}")
  string(REPLACE "\"" "\\\"" value "${value}")
  set(${out} "\"${value}\"" PARENT_SCOPE)
endfunction()

kivo_installed_dir(kivo_path_dir "${KIVO_PATH_DIR}")
kivo_installed_dir(kivo_system_dir "${KIVO_SYSTEM_DIR}")
kivo_ini_text(kivo_path "${kivo_path_dir}/")
kivo_ini_text(kivo_system "${kivo_system_dir}/")
set(kivo_settings "$ENV{DESTDIR}${kivo_sysconf}/xdg/Tulvex/Kivo Rudovaz.conf")
message(STATUS "Installing: ${kivo_settings}")
file(WRITE "${kivo_settings}" "[1.0]\nPath=${kivo_path}\nSystem=${kivo_system}\n")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${kivo_settings}")

# The desktop entry starts the program of this installation. Its Exec line takes
# the program quoted: inside the quotes \ " ` $ are escaped with a backslash, then
# the entry's own string escaping doubles every backslash, and % is written %%.
kivo_installed_dir(kivo_data_dir "${KIVO_DATA_DIR}")
kivo_installed_dir(kivo_bin_dir "${KIVO_BIN_DIR}")
set(kivo_desktop "$ENV{DESTDIR}${kivo_data_dir}/applications/kivo-rudovaz.desktop")
set(KIVO_PROGRAM "${kivo_bin_dir}/kivo-rudovaz")
foreach(special "\\" "\"" "`" "$")
  string(REPLACE "${special}" "\\${special}" KIVO_PROGRAM "${KIVO_PROGRAM}")
endforeach()
string(REPLACE "\\" "\\\\" KIVO_PROGRAM "${KIVO_PROGRAM}")
string(REPLACE "%" "%%" KIVO_PROGRAM "${KIVO_PROGRAM}")
message(STATUS "Installing: ${kivo_desktop}")
configure_file("${KIVO_DESKTOP_TEMPLATE}" "${kivo_desktop}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${kivo_desktop}")

# Let file managers know the file type at once where the tool is at hand; a
# packager's staged install (DESTDIR) leaves that to the package's own triggers.
find_program(kivo_update_mime update-mime-database)
if(kivo_update_mime AND "$ENV{DESTDIR}" STREQUAL "")
  execute_process(COMMAND "${kivo_update_mime}" "${kivo_data_dir}/mime"
    RESULT_VARIABLE kivo_mime_result OUTPUT_QUIET ERROR_VARIABLE kivo_mime_error)
  if(NOT kivo_mime_result EQUAL 0)
    message(WARNING "update-mime-database failed: ${kivo_mime_error}")
  endif()
endif()
