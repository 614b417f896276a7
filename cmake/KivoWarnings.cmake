# Warning flags shared by every target of the project.
function(kivo_set_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${KIVO_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
      -Wcast-align -Woverloaded-virtual -Wconversion -Wsign-conversion
      $<$<BOOL:${KIVO_WERROR}>:-Werror>)
  endif()
endfunction()

# A Qt library of the program: Qt's strict string casts and the project's warnings.
function(kivo_qt_target target)
  kivo_set_warnings(${target})
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING
    QT_NO_KEYWORDS)
endfunction()
