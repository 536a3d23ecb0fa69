# `make uninstall`: removes what `make install` put under DESTDIR and PREFIX,
# given the same two, and then those of the saver's own directories that are
# left empty (shared ones such as bin and share/man stay). It reads no build
# tree, so it works after the build dependencies have gone too.
#   DESTDIR=... cmake -DPREFIX=/usr -P cmake/uninstall.cmake
# The list follows cmake/install.cmake (with GNUInstallDirs' directories on
# Linux); the test install_tree fails when the two disagree.
if(NOT DEFINED PREFIX OR PREFIX STREQUAL "")
  set(PREFIX /usr/local)
endif()
set(root "$ENV{DESTDIR}${PREFIX}")
set(files
  bin/lumenfall
  libexec/xscreensaver/lumenfall
  share/xscreensaver/config/lumenfall.xml
  share/applications/screensavers/lumenfall.desktop
  share/man/man6/lumenfall.6)
set(own_directories
  libexec/xscreensaver
  share/xscreensaver/config
  share/xscreensaver
  share/applications/screensavers)

foreach(file IN LISTS files)
  set(path "${root}/${file}")
  if(EXISTS "${path}" OR IS_SYMLINK "${path}")
    file(REMOVE "${path}")
    if(EXISTS "${path}" OR IS_SYMLINK "${path}")
      message(FATAL_ERROR "cannot remove ${path} (not allowed to? then run as root)")
    endif()
    message(STATUS "Removed: ${path}")
  endif()
endforeach()
foreach(directory IN LISTS own_directories)
  set(path "${root}/${directory}")
  if(IS_DIRECTORY "${path}")
    file(GLOB left "${path}/*" "${path}/.*")
    if(NOT left)
      file(REMOVE_RECURSE "${path}")
      message(STATUS "Removed: ${path}/")
    endif()
  endif()
endforeach()
