# What `cmake --install` puts beside the programs, and the Debian package that
# `cpack` (scripts/package) makes of it: tessaran_<version>_<arch>.deb.
include(GNUInstallDirs)

# Manual pages, with the project's version filled in and compressed as Debian
# installs them.
set(man_pages tessaran-cli.1)
if(TARGET tessaran)
    list(APPEND man_pages tessaran.1)
endif()
set(man_outputs "")
foreach(page ${man_pages})
    configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page} ${PROJECT_BINARY_DIR}/man/${page} @ONLY)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.gz
        COMMAND gzip -9nf -k ${PROJECT_BINARY_DIR}/man/${page}
        DEPENDS ${PROJECT_BINARY_DIR}/man/${page} VERBATIM)
    list(APPEND man_outputs ${PROJECT_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_outputs})
install(FILES ${man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Debian keeps the licence as /usr/share/doc/<package>/copyright.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tessaran
        RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaran)
set(CPACK_PACKAGE_VENDOR "Tessaran developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "analysis of whole-cell patch-clamp recordings")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tessaran developers <maintainers@tessaran.example>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tessaran.example/")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The Depends line is computed by dpkg-shlibdeps from the installed programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-calc | gnumeric")
# The long description below the summary; CPack indents it as the control file wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tessaran analyses whole-cell patch-clamp recordings of chloride currents
stored as Axon Binary Files (ABF 1.x .abf and the older .dat files): slope
conductance and current at a test potential, current-voltage relation, cell
capacitance and sample-point time courses, written into a spreadsheet
workbook (.xlsx) with a data sheet and a chart sheet per analysis.

The package holds the desktop program tessaran, with its menu entry, icons
and file type for ABF recordings, and the command-line tool tessaran-cli.")
include(CPack)
