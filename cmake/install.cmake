# cmake --install: both programs in bin/, the launcher, icons, AppStream data, manual pages made
# from the programs' help texts, bash completion; and CPack's .deb (scripts/package makes it).
include(GNUInstallDirs)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(app_id org.tesserix.Tesserix)

install(TARGETS tesserix-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Tells the installed programs to keep tables and cube.ini in the user's data folder.
file(WRITE ${CMAKE_BINARY_DIR}/generated/installed
     "Tesserix installed here keeps its tables and cube.ini in $XDG_DATA_HOME/tesserix (~/.local/share/tesserix).\n")
install(FILES ${CMAKE_BINARY_DIR}/generated/installed DESTINATION ${CMAKE_INSTALL_DATADIR}/tesserix)
install(FILES ${packaging}/tesserix-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tesserix-cli)

set(man_pages ${CMAKE_BINARY_DIR}/man/tesserix-cli.1)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/tesserix-cli.1
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:tesserix-cli> -DNAME=tesserix-cli -DSUBCOMMANDS=ON
          "-DSUMMARY=command line of Tesserix, the 3x3x3 cube workbench" -DVERSION=${PROJECT_VERSION}
          -DOUTPUT=${CMAKE_BINARY_DIR}/man/tesserix-cli.1 -P ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake
  DEPENDS tesserix-cli ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake
  COMMENT "Manual page of tesserix-cli" VERBATIM)

if(TARGET tesserix)
  install(TARGETS tesserix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${packaging}/${app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${packaging}/${app_id}.metainfo.xml ${CMAKE_BINARY_DIR}/generated/${app_id}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/generated/${app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${packaging}/icons/tesserix.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${packaging}/icons/tesserix-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tesserix.png)
  endforeach()
  list(APPEND man_pages ${CMAKE_BINARY_DIR}/man/tesserix.1)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/tesserix.1
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:tesserix> -DNAME=tesserix
            "-DSUMMARY=Tesserix, a desktop workbench for the 3x3x3 cube" -DVERSION=${PROJECT_VERSION}
            -DOUTPUT=${CMAKE_BINARY_DIR}/man/tesserix.1 -P ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake
    DEPENDS tesserix ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake
    COMMENT "Manual page of tesserix" VERBATIM)
endif()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tesserix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tesserix")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "workbench for the 3x3x3 cube: two-phase and optimal solvers")
set(CPACK_PACKAGE_DESCRIPTION
    "Tesserix finds short and optimal maneuvers for 3x3x3 cube positions, searches cubes with symmetries or colour patterns and keeps them in a list. tesserix-cli runs the same searches in scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tesserix developers <tesserix@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its platform plugin (the window system) at run time: no linker dependency shows it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)
