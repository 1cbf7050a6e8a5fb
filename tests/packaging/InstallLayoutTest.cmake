# Installs the project into a folder of the build tree and checks that every
# file a user and the desktop need is where they look for it, and that the
# installed command-line program runs.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DICON_SIZES=... -DWITH_GUI=0|1 -P InstallLayoutTest.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(result)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(expected
  bin/typeswap-cli
  share/man/man1/typeswap-cli.1
  share/bash-completion/completions/typeswap-cli
  share/doc/typeswap/typeswap.html
  share/doc/typeswap/font-maps.html
  share/doc/typeswap/command-line.html
  share/doc/typeswap/help.css)
if(WITH_GUI)
  list(APPEND expected
    bin/typeswap
    share/man/man1/typeswap.1
    share/applications/typeswap.desktop
    share/metainfo/org.typeswap.Typeswap.metainfo.xml
    share/icons/hicolor/scalable/apps/typeswap.svg)
  foreach(size ${ICON_SIZES})
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/typeswap.png)
  endforeach()
endif()
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    message(SEND_ERROR "not installed: ${file}")
  endif()
endforeach()

if(WITH_GUI)
  # The desktop entry starts the installed program and names its icon.
  file(READ ${PREFIX}/share/applications/typeswap.desktop entry)
  foreach(line "Exec=typeswap" "Icon=typeswap" "Categories=Office;Publishing;")
    string(FIND "${entry}" "\n${line}" at)
    if(at EQUAL -1)
      message(SEND_ERROR "typeswap.desktop lacks ${line}")
    endif()
  endforeach()
endif()

execute_process(COMMAND ${PREFIX}/bin/typeswap-cli --version OUTPUT_VARIABLE version RESULT_VARIABLE result)
if(result OR NOT version MATCHES "^typeswap-cli [0-9]")
  message(SEND_ERROR "the installed typeswap-cli does not run: ${version}")
endif()
