# Installs the build into a temporary prefix and uses it as a lab would: the links, the data
# beside the programs, and the installed programs run from the prefix's bin/.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P installed_tree.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(rc)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

function(expect_link link target)
  if(NOT IS_SYMLINK ${PREFIX}/${link})
    message(FATAL_ERROR "${link} is not a link")
  endif()
  file(READ_SYMLINK ${PREFIX}/${link} actual)
  if(NOT actual STREQUAL target)
    message(FATAL_ERROR "${link} -> ${actual}, expected ${target}")
  endif()
  if(NOT EXISTS ${PREFIX}/${link})
    message(FATAL_ERROR "${link} leads nowhere")
  endif()
endfunction()

function(expect_file path)
  if(NOT EXISTS ${PREFIX}/${path} OR IS_DIRECTORY ${PREFIX}/${path})
    message(FATAL_ERROR "${path} is missing")
  endif()
endfunction()

foreach(program edumac8-cli edumac8-box)
  expect_link(bin/${program} ../lib/edumac8/bin/${program})
endforeach()
expect_link(lib/edumac8/samples ../../share/edumac8/samples)
expect_file(share/edumac8/samples/loop.asm)
expect_file(share/icons/hicolor/scalable/apps/edumac8.svg)
expect_file(share/icons/hicolor/48x48/apps/edumac8.png)
expect_file(share/applications/edumac8.desktop)
file(READ ${PREFIX}/share/applications/edumac8.desktop desktop)
if(NOT desktop MATCHES "\nExec=edumac8 %f\n" OR NOT desktop MATCHES "\nIcon=edumac8\n")
  message(FATAL_ERROR "edumac8.desktop: ${desktop}")
endif()

# The command-line tool run from the prefix, on a sample shipped in it.
execute_process(COMMAND ${PREFIX}/bin/edumac8-cli asm ${PREFIX}/lib/edumac8/samples/loop.asm
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc OR NOT EXISTS ${PREFIX}/share/edumac8/samples/loop.bin)
  message(FATAL_ERROR "installed edumac8-cli asm: exit ${rc}: ${out}${err}")
endif()

if(EXISTS ${PREFIX}/lib/edumac8/bin/edumac8-install)
  expect_link(bin/edumac8-install ../lib/edumac8/bin/edumac8-install)
  expect_link(bin/edumac8 ../lib/edumac8/bin/edumac8)
  expect_file(share/applications/edumac8-install.desktop)
  file(READ ${PREFIX}/lib/udev/rules.d/70-edumac8-box.rules rule)
  execute_process(COMMAND ${PREFIX}/bin/edumac8-install udev-rule OUTPUT_VARIABLE shown)
  if(NOT rule STREQUAL shown)
    message(FATAL_ERROR "the installed rule differs from the installer's")
  endif()
  # The installer finds its INSTALL.INI beside it and offers the installed workbench.
  execute_process(COMMAND env -u LC_ALL -u LC_MESSAGES LANG=C ${PREFIX}/bin/edumac8-install menu
                  RESULT_VARIABLE rc OUTPUT_VARIABLE menu ERROR_VARIABLE err)
  set(expected "TITLE\tEDUMAC8 Workbench Setup\nCMD1\tUSB\tInstall USB Driver\n")
  string(APPEND expected "CMD2\tOPEN\tStart the EDUMAC8 Workbench\tedumac8\n")
  if(rc OR NOT menu STREQUAL expected)
    message(FATAL_ERROR "installed edumac8-install menu: exit ${rc}: ${menu}${err}")
  endif()
endif()
message(STATUS "installed tree in ${PREFIX} works")
