# kivo_use_kivotools(target)
# Lets an executable find kivotools by name at run time through the ordinary
# library search: the build tree's copy is on its run path. The run path is
# written as DT_RPATH, not DT_RUNPATH, because the loading is done by Qt's
# library on the program's behalf, and only the executable's DT_RPATH is
# searched for a load requested by another library.
function(kivo_use_kivotools target)
  add_dependencies(${target} kivotools)
  set_property(TARGET ${target} APPEND PROPERTY BUILD_RPATH "$<TARGET_FILE_DIR:kivotools>")
  if(UNIX AND NOT APPLE)
    target_link_options(${target} PRIVATE "LINKER:--disable-new-dtags")
  endif()
endfunction()
