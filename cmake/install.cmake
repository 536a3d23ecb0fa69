# Installation of the native Linux saver (`cmake --install`, DESTDIR
# honoured). The program is installed once, among XScreenSaver's saver
# programs, as Debian's own savers are; bin/lumenfall is a relative symbolic
# link to it, so that it is also on the PATH. Beside it: its settings file for
# xscreensaver-settings, the desktop entry through which other daemons (MATE's,
# for one) list screen savers, and the manual page. Everything is in the
# component "lumenfall", so that a test can install just the saver.
#
# Debian's XScreenSaver looks for saver programs in /usr/libexec/xscreensaver
# and for settings files in /usr/share/xscreensaver/config only; a prefix of
# /usr puts the saver where it finds it. Under the default /usr/local the
# program is still reached through the PATH (bin), but xscreensaver-settings
# will not see the settings file.
#
# cmake/uninstall.cmake (`make uninstall`) removes the same files; the test
# install_tree checks that the two agree.
#
# Included from the top-level list after the source tree, once the lumenfall
# target exists.
if(NOT WIN32)
  include(GNUInstallDirs)

  set(lumenfall_saver_dir ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
  install(TARGETS lumenfall
    RUNTIME DESTINATION ${lumenfall_saver_dir}
    COMPONENT lumenfall)
  # The link's target relative to the link's own directory, which holds for
  # whatever prefix `cmake --install --prefix` is given.
  file(RELATIVE_PATH lumenfall_link_target /prefix/${CMAKE_INSTALL_BINDIR}
    /prefix/${lumenfall_saver_dir}/lumenfall)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/lumenfall\")
    message(STATUS \"Installing: \${link} -> ${lumenfall_link_target}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK \"${lumenfall_link_target}\" \"\${link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")
    " COMPONENT lumenfall)

  set(lumenfall_linux_resources ${PROJECT_SOURCE_DIR}/src/resources/linux)
  install(FILES ${lumenfall_linux_resources}/lumenfall.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config
    COMPONENT lumenfall)
  install(FILES ${lumenfall_linux_resources}/lumenfall.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers
    COMPONENT lumenfall)
  # The manual page as cmake/version.cmake wrote it, with the version.
  install(FILES ${LUMENFALL_GENERATED_DIR}/lumenfall.6
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man6
    COMPONENT lumenfall)
endif()
