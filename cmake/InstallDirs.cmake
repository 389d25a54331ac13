# Where an installation puts things, decided before the targets are made so that
# they pick up the installed RPATH.
include(GNUInstallDirs)

# The installed programs find libdostup.so relative to themselves, wherever the
# tree was installed or unpacked.
file(RELATIVE_PATH TARVO_LIBDIR_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set(CMAKE_INSTALL_RPATH "$ORIGIN/${TARVO_LIBDIR_FROM_BINDIR}")

# The help pages: bin/help in a build tree, <datadir>/tarvo/help when installed.
# The library finds the installed folder from its own location.
set(TARVO_HELP_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/tarvo/help)
file(RELATIVE_PATH TARVO_HELP_FROM_LIBDIR ${CMAKE_INSTALL_FULL_LIBDIR}
     ${CMAKE_INSTALL_PREFIX}/${TARVO_HELP_INSTALL_DIR})
