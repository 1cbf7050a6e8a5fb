# Installs the foundation library into a folder of the build tree, then
# builds and runs the example program against that copy alone: the
# installed headers, library and pkg-config file.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DCXX=... -DSOURCE=... -P InstalledLibraryTest.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(
  COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} --component foundation
  RESULT_VARIABLE result OUTPUT_QUIET)
if(result)
  message(FATAL_ERROR "installing the foundation library failed")
endif()

file(GLOB_RECURSE pc_files ${PREFIX}/typeswap-foundation.pc)
list(LENGTH pc_files found)
if(NOT found EQUAL 1)
  message(FATAL_ERROR "no typeswap-foundation.pc under ${PREFIX}")
endif()
get_filename_component(pc_dir ${pc_files} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
execute_process(COMMAND pkg-config --cflags --libs typeswap-foundation
  OUTPUT_VARIABLE flags RESULT_VARIABLE result OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND pkg-config --variable=libdir typeswap-foundation
  OUTPUT_VARIABLE libdir OUTPUT_STRIP_TRAILING_WHITESPACE)
if(result)
  message(FATAL_ERROR "pkg-config does not know typeswap-foundation")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")

set(program ${PREFIX}/foundation_example)
execute_process(
  COMMAND ${CXX} -std=c++20 ${SOURCE} ${flags} -Wl,-rpath,${libdir} -o ${program}
  RESULT_VARIABLE result)
if(result)
  message(FATAL_ERROR "the example does not build against the installed library")
endif()
execute_process(COMMAND ${program} RESULT_VARIABLE result OUTPUT_VARIABLE output)
message(STATUS "${output}")
if(result)
  message(FATAL_ERROR "the example failed: ${output}")
endif()
