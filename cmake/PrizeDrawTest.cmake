# prizedraw_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [KIND core|widget|x11] [TIMEOUT <s>])
#   core:   GUI-less Qt Test executable.
#   widget: runs with the offscreen platform plugin.
#   x11:    needs a real X server; test.sh exports DISPLAY for these (label "x11").
# Every test gets PRIZEDRAW_TEST_DATA (tests/data in the source tree) and
# PRIZEDRAW_EXE (the built program) through compile definitions.
function(prizedraw_add_test)
  cmake_parse_arguments(T "" "NAME;KIND;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_KIND)
    set(T_KIND core)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
  target_compile_definitions(${T_NAME} PRIVATE
    PRIZEDRAW_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    PRIZEDRAW_EXE="$<TARGET_FILE:prizedraw>")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set(env "QT_FONT_DPI=96" "LC_ALL=C.UTF-8" "SDL_AUDIODRIVER=dummy")
  # x11 tests drive the program in the X server of test.sh; the test itself needs none.
  if(T_KIND STREQUAL "widget" OR T_KIND STREQUAL "x11")
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "${env}" LABELS "${T_KIND}" TIMEOUT ${T_TIMEOUT})
  # One X server, one keyboard and one mouse: x11 tests take turns.
  if(T_KIND STREQUAL "x11")
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK x11display)
  endif()
endfunction()
