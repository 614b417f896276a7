# kivo_register_test(TARGET [ENV var=value...] [LABELS label...])
# Registers the program of a target with CTest on Qt's offscreen platform.
function(kivo_register_test name)
  cmake_parse_arguments(ARG "" "" "ENV;LABELS" ${ARGN})
  if("jack" IN_LIST ARG_LABELS)
    # Its JACK server and clients keep apart from every other JACK user on the machine.
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tests/support/jack/with-private-shm.sh $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  # Offscreen whatever platform the shell chose.
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENV}"
    LABELS "${ARG_LABELS}")
  # A program that sends real MIDI runs alone, so that its JACK server's process
  # cycles are not starved by other tests; a missed cycle drops MIDI events.
  # A sanitized build runs several times slower; its time limit grows to match.
  if("jack" IN_LIST ARG_LABELS)
    if(KIVO_SANITIZE)
      set(timeout 540)
    else()
      set(timeout 180)
    endif()
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT ${timeout})
  endif()
endfunction()

# kivo_add_qtest(NAME SOURCES file... LIBS lib... [LABELS label...])
# Builds one Qt Test program and registers it with CTest. The program sets up
# what it needs itself (kivo_test_environment and its fixtures), so that it
# passes as well when a person starts it.
function(kivo_add_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  kivo_qt_target(${name})
  target_link_libraries(${name} PRIVATE Qt6::Test kivo_test_environment kivo_test_support ${ARG_LIBS})
  kivo_register_test(${name} LABELS ${ARG_LABELS})
endfunction()
