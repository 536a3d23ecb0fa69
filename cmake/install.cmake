# Installation of the native Linux saver (`cmake --install`, DESTDIR honoured):
# the program on the PATH and again among XScreenSaver's saver programs, its
# settings file for xscreensaver-settings and its manual page. Everything is
# in the component "lumenfall", so that a test can install just the saver.
#
# Debian's XScreenSaver looks for saver programs in /usr/libexec/xscreensaver
# and for settings files in /usr/share/xscreensaver/config only; a prefix of
# /usr puts the saver where it finds it. Under the default /usr/local the
# program is still reached through the PATH (bin), but xscreensaver-settings
# will not see the settings file.
#
# Included from the top-level list after the source tree, once the lumenfall
# target exists.
if(NOT WIN32)
  include(GNUInstallDirs)

  install(TARGETS lumenfall
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    COMPONENT lumenfall)
  install(TARGETS lumenfall
    RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver
    COMPONENT lumenfall)

  set(lumenfall_linux_resources ${PROJECT_SOURCE_DIR}/src/resources/linux)
  install(FILES ${lumenfall_linux_resources}/lumenfall.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config
    COMPONENT lumenfall)
  install(FILES ${lumenfall_linux_resources}/lumenfall.6
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man6
    COMPONENT lumenfall)
endif()
