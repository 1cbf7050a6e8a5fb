# Helpers shared by every target: warnings, language level, test registration.

set(TS_WARNINGS -Wall -Wextra -Wpedantic -Wno-unused-parameter)

# ts_library(name SOURCES ... [LIBS ...]): one folder's static library.
function(ts_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_compile_features(${name} PUBLIC cxx_std_20)
  target_compile_options(${name} PRIVATE ${TS_WARNINGS})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
endfunction()

# ts_executable(name SOURCES ... [LIBS ...])
function(ts_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_features(${name} PRIVATE cxx_std_20)
  target_compile_options(${name} PRIVATE ${TS_WARNINGS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# ts_add_test(name SOURCES ... [LIBS ...]): a GoogleTest executable whose
# cases CTest lists one by one. Tests run with the source tree's examples
# and the shared corpus reachable through TS_SOURCE_DIR.
function(ts_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  ts_executable(${name} SOURCES ${ARG_SOURCES} LIBS ts_testsupport ${ARG_LIBS} GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # Parameterised tests name their cases themselves (a golden file's name).
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
    # One variable per property: a ';' inside ENVIRONMENT would not survive
    # test discovery, and the second variable would be lost.
    # Loading opens a document exclusively, as the program does, so two
    # tests reading the same sample at once would fail each other: tests
    # take turns with the shared samples.
    PROPERTIES ENVIRONMENT "TS_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
               ENVIRONMENT_MODIFICATION "TS_BINARY_DIR=set:${CMAKE_BINARY_DIR}"
               RESOURCE_LOCK samples)
endfunction()

# ts_add_qt_test(name SOURCES ...): one Qt Test program over the windows,
# one CTest test, on the offscreen platform.
function(ts_add_qt_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  ts_executable(${name} SOURCES ${ARG_SOURCES} LIBS ts_app_ui ts_ui_testsupport ts_testsupport Qt6::Test)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
                                           AUTOMOC ON)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;TS_SOURCE_DIR=${CMAKE_SOURCE_DIR};TS_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()
