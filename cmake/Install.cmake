# The help pages beside the binaries of the build tree, installation and the
# Debian package.

# Copy help/ to bin/help whenever a page changes; the library depends on it, so
# CALLHELP finds the pages in a build tree without an installation.
file(GLOB_RECURSE TARVO_HELP_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/help/*)
set(TARVO_HELP_STAMP ${CMAKE_BINARY_DIR}/help_pages.stamp)
add_custom_command(OUTPUT ${TARVO_HELP_STAMP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/help
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/help
            ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/help
    COMMAND ${CMAKE_COMMAND} -E touch ${TARVO_HELP_STAMP}
    DEPENDS ${TARVO_HELP_FILES}
    COMMENT "Copying the help pages")
add_custom_target(help_pages ALL DEPENDS ${TARVO_HELP_STAMP})
add_dependencies(dostup help_pages)
add_dependencies(dostup_core help_pages)

install(TARGETS dostup LIBRARY DESTINATION ${TARVO_PRIVATE_LIBDIR})
install(TARGETS dostup_launcher RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/access/dostup.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION ${TARVO_HELP_INSTALL_DIR})
install(PROGRAMS ${PROJECT_SOURCE_DIR}/packaging/tarvo-run DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tarvo.svg ${PROJECT_SOURCE_DIR}/packaging/dostup.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tarvo.desktop ${PROJECT_SOURCE_DIR}/packaging/dostup.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
if(TARGET tarvo)
    install(TARGETS tarvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Manual pages, and the package's changelog and copyright, compressed as Debian
# wants them (gzip -9n: no name, no time stamp, so the package is reproducible).
find_program(TARVO_GZIP gzip)
set(TARVO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tarvo)
if(TARVO_GZIP)
    foreach(page tarvo.1 dostup.1 tarvo-run.1 changelog)
        set(source ${PROJECT_SOURCE_DIR}/packaging/${page})
        set(packed ${CMAKE_BINARY_DIR}/packaging/${page}.gz)
        add_custom_command(OUTPUT ${packed}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
            COMMAND ${TARVO_GZIP} -9n -c ${source} > ${packed}
            DEPENDS ${source} VERBATIM)
        list(APPEND TARVO_PACKED_FILES ${packed})
    endforeach()
    add_custom_target(packed_documents ALL DEPENDS ${TARVO_PACKED_FILES})
    install(FILES ${CMAKE_BINARY_DIR}/packaging/tarvo.1.gz ${CMAKE_BINARY_DIR}/packaging/dostup.1.gz
                  ${CMAKE_BINARY_DIR}/packaging/tarvo-run.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${TARVO_DOC_DIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${TARVO_DOC_DIR})

# cpack -G DEB
set(CPACK_PACKAGE_NAME tarvo)
set(CPACK_PACKAGE_VENDOR "Tarvo developers")
set(CPACK_PACKAGE_CONTACT "Tarvo developers <developers@tarvo.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Reference books and access library of a trade and warehouse accounting suite")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tarvo developers <developers@tarvo.example.org>")
# The library is private to the package (<libdir>/tarvo): no shlibs, no ldconfig.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "The reference-book program tarvo (organisations, price types, currencies and\n\
exchange rates, stores, operation types), the access library libdostup.so with\n\
its staff screens, and the staff console dostup. Russian user interface.")
# Libraries are found by dpkg-shlibdeps; what is loaded at run time (the Qt
# platform plugins, the Russian translations of the standard buttons, the report
# font) is declared by hand.
find_program(TARVO_DPKG_SHLIBDEPS dpkg-shlibdeps)
set(TARVO_RUNTIME_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2")
if(TARVO_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS ${TARVO_RUNTIME_DEPENDS})
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6widgets6, libqt6gui6, libqt6core6, libqt6printsupport6, libsqlcipher0, libpq5, ${TARVO_RUNTIME_DEPENDS}")
endif()
include(CPack)
