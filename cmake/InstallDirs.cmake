# Where an installation puts things, decided before the targets are made so that
# they pick up the installed RPATH.
include(GNUInstallDirs)

# libdostup.so is the suite's private library: it lives in <libdir>/tarvo, off
# the system's library path (no ldconfig, no soname package), and the installed
# programs find it relative to themselves, wherever the tree was installed or
# unpacked. The suite's C programs link it with -L<libdir>/tarvo and a RUNPATH
# of their own (docs/installing.md).
# On Debian that is the architecture's folder (/usr/lib/x86_64-linux-gnu/tarvo),
# whatever the prefix of the build.
if(CMAKE_LIBRARY_ARCHITECTURE)
    set(TARVO_PRIVATE_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/tarvo)
else()
    set(TARVO_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/tarvo)
endif()
file(RELATIVE_PATH TARVO_LIBDIR_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${TARVO_PRIVATE_LIBDIR})
set(CMAKE_INSTALL_RPATH "$ORIGIN/${TARVO_LIBDIR_FROM_BINDIR}")

# The help pages: bin/help in a build tree, <datadir>/tarvo/help when installed.
# The library finds the installed folder from its own location.
set(TARVO_HELP_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/tarvo/help)
file(RELATIVE_PATH TARVO_HELP_FROM_LIBDIR ${CMAKE_INSTALL_PREFIX}/${TARVO_PRIVATE_LIBDIR}
     ${CMAKE_INSTALL_PREFIX}/${TARVO_HELP_INSTALL_DIR})
