# Install rules in the Debian layout, and the .deb made by cpack (scripts/package).
include(GNUInstallDirs)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(theolink_data ${CMAKE_SOURCE_DIR}/data)
set(theolink_generated ${CMAKE_BINARY_DIR}/generated/install)
set(theolink_desktop_id io.github.theolink.Theolink)

# Manual pages and the changelog carry the project version and are installed compressed,
# without a time stamp, as Debian wants them.
function(theolink_gzip_configured source name)
  configure_file(${source} ${theolink_generated}/${name} @ONLY)
  execute_process(COMMAND gzip -9 -n -c ${theolink_generated}/${name}
                  OUTPUT_FILE ${theolink_generated}/${name}.gz RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${name} failed")
  endif()
endfunction()

theolink_gzip_configured(${theolink_data}/man/theolink-cli.1 theolink-cli.1)
theolink_gzip_configured(${theolink_data}/man/theolink-sim.1 theolink-sim.1)
theolink_gzip_configured(${theolink_data}/man/theolink.1 theolink.1)
theolink_gzip_configured(${theolink_data}/changelog.in changelog)
configure_file(${theolink_data}/${theolink_desktop_id}.metainfo.xml.in
               ${theolink_generated}/${theolink_desktop_id}.metainfo.xml @ONLY)

install(TARGETS theolink-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${theolink_generated}/theolink-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${theolink_data}/theolink-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME theolink-cli)
if(TARGET theolink-sim)
  install(TARGETS theolink-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${theolink_generated}/theolink-sim.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${theolink_data}/theolink-sim.bash-completion
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME theolink-sim)
endif()
install(FILES ${theolink_data}/HELP.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/theolink)
install(FILES ${theolink_data}/copyright ${theolink_generated}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${theolink_data}/theolink.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME theolink)

# The window program and what the desktop needs to start it.
if(TARGET theolink)
  install(TARGETS theolink RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${theolink_generated}/theolink.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${theolink_data}/theolink.bash-completion
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME theolink)
  install(FILES ${theolink_data}/${theolink_desktop_id}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${theolink_generated}/${theolink_desktop_id}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${theolink_data}/icons/theolink.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${theolink_data}/icons/theolink-48.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME theolink.png)
  install(FILES ${theolink_data}/theolink-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME theolink.xml)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME theolink)
set(CPACK_PACKAGE_VENDOR "The Theolink II developers")
set(CPACK_PACKAGE_CONTACT "The Theolink II developers <theolink@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "total station data transfer and conversion")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${theolink_data}/package-description.txt)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# PROJ's database of coordinate systems, read at run time (the library alone does not hold it).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "proj-data")
# Qt's own buttons and dialogs in Chinese, and the characters of Chinese names.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-wqy-microhei")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)

# The package is built from this tree and tried from a scratch root.
if(THEOLINK_TESTS AND NOT THEOLINK_SANITIZE AND NOT THEOLINK_FUZZ)
  add_test(NAME package_install
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/test-install ${CMAKE_BINARY_DIR})
  # The package's programs are built anew with the distribution's flags (scripts/package).
  set_tests_properties(package_install PROPERTIES TIMEOUT 1800 RUN_SERIAL TRUE)
endif()
