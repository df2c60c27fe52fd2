# The install layout (cmake --install build --prefix P) and the Debian package (cpack -G DEB):
#   P/lib/edumac8/bin/<program>        the programs, with INSTALL.INI beside the installer
#   P/bin/<program>                    relative links to them
#   P/share/edumac8/{HELP,JPG,samples,FPGA}
#                                      the shipped data (FPGA: example board modes), linked from
#                                      P/lib/edumac8/ so that the programs find it beside their
#                                      bin/ directory
#   P/share/applications, P/share/icons/hicolor, P/lib/udev/rules.d
# The links are made in the build tree and installed as links, so they stay relative under any
# prefix and in the package.

set(EDUMAC8_LINKS ${CMAKE_BINARY_DIR}/install-links)
set(EDUMAC8_PROGRAMS edumac8-cli edumac8-box)
foreach(program edumac8 edumac8-install)
  if(TARGET ${program})
    list(APPEND EDUMAC8_PROGRAMS ${program})
  endif()
endforeach()

install(TARGETS ${EDUMAC8_PROGRAMS} RUNTIME DESTINATION lib/edumac8/bin)
file(MAKE_DIRECTORY ${EDUMAC8_LINKS}/bin ${EDUMAC8_LINKS}/lib)
foreach(program ${EDUMAC8_PROGRAMS})
  file(CREATE_LINK ../lib/edumac8/bin/${program} ${EDUMAC8_LINKS}/bin/${program} SYMBOLIC)
  install(FILES ${EDUMAC8_LINKS}/bin/${program} DESTINATION bin)
endforeach()

foreach(data HELP JPG samples FPGA)
  if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/data/${data})
    install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/${data} DESTINATION share/edumac8)
    file(CREATE_LINK ../../share/edumac8/${data} ${EDUMAC8_LINKS}/lib/${data} SYMBOLIC)
    install(FILES ${EDUMAC8_LINKS}/lib/${data} DESTINATION lib/edumac8)
  endif()
endforeach()

# The user manual is made by the build, not kept in data/.
if(TARGET edumac8_manual)
  install(FILES ${CMAKE_BINARY_DIR}/HELP/EDUMAC8.PDF DESTINATION share/edumac8/HELP)
endif()

set(EDUMAC8_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
install(FILES ${EDUMAC8_PACKAGING}/edumac8.desktop DESTINATION share/applications)
install(FILES ${EDUMAC8_PACKAGING}/edumac8.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${EDUMAC8_PACKAGING}/edumac8-48.png DESTINATION share/icons/hicolor/48x48/apps
        RENAME edumac8.png)

if(TARGET edumac8-install)
  install(FILES ${CMAKE_SOURCE_DIR}/apps/install/INSTALL.INI DESTINATION lib/edumac8/bin)
  install(FILES ${EDUMAC8_PACKAGING}/edumac8-install.desktop DESTINATION share/applications)
  # The rule file is the installer's own text, so the two never differ.
  set(EDUMAC8_RULE ${CMAKE_BINARY_DIR}/70-edumac8-box.rules)
  add_custom_command(OUTPUT ${EDUMAC8_RULE}
    COMMAND edumac8-install udev-rule > ${EDUMAC8_RULE}
    DEPENDS edumac8-install
    COMMENT "Writing the box's udev rule")
  add_custom_target(edumac8_udev_rule ALL DEPENDS ${EDUMAC8_RULE})
  install(FILES ${EDUMAC8_RULE} DESTINATION lib/udev/rules.d)
endif()

set(CPACK_PACKAGE_NAME edumac8)
set(CPACK_PACKAGE_VENDOR "Open Teaching Lab")
set(CPACK_PACKAGE_CONTACT "Open Teaching Lab <lab@edumac8.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "EDUMAC8 computer organisation workbench, command-line tool, software box and setup")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, xdg-utils, pkexec")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine, ghdl")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${EDUMAC8_PACKAGING}/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
