# The Debian package (scripts/package.sh): what a Debian system expects beside the programs
# (manual pages and the changelog compressed, the copyright in Debian's machine-readable
# format) and CPack's DEB generator, which packages this build tree's installation.
include(GNUInstallDirs)

set(WIENBRIDGE_PACKAGE_MAINTAINER "The wienbridge developers <wienbridge@example.org>"
    CACHE STRING "The Debian package's maintainer, name and address")

set(packaging "${PROJECT_SOURCE_DIR}/packaging")
set(compressed "${CMAKE_BINARY_DIR}/packaging")
configure_file("${packaging}/changelog.Debian.in" "${compressed}/changelog.Debian" @ONLY)
# Without the name and time stamp in the header (-n), the same files make the same package.
set(gzipped)
foreach(file "${packaging}/wienbridge.1" "${packaging}/wienbridge-sim.1" "${compressed}/changelog.Debian")
  get_filename_component(name "${file}" NAME)
  add_custom_command(OUTPUT "${compressed}/${name}.gz"
                     COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" sh "${file}" "${compressed}/${name}.gz"
                     DEPENDS "${file}" VERBATIM)
  list(APPEND gzipped "${compressed}/${name}.gz")
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${gzipped})

install(FILES "${compressed}/wienbridge.1.gz" "${compressed}/wienbridge-sim.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${packaging}/copyright" "${compressed}/changelog.Debian.gz"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/wienbridge")
install(FILES "${packaging}/lintian-overrides" DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
        RENAME wienbridge)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wienbridge)
set(CPACK_PACKAGE_VENDOR "The wienbridge developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Wien-bridge oscillator with a real operational amplifier")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Checks how a Wien-bridge oscillator behaves when its operational amplifier\n"
  "has a finite crossover (gain-bandwidth) frequency. Type the CR time constant,\n"
  "the number of samples, the crossover frequency and the ratio R1/R2, or pick a\n"
  "damped, sustained or growing oscillation, and the output voltage over 100 time\n"
  "constants is plotted. The plot's menu compares the measured frequency and\n"
  "growth with those of the continuous circuit, and exports the samples.\n"
  "\n"
  "The program's windows are in Italian. The command wienbridge-sim runs the\n"
  "same computation without windows.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${WIENBRIDGE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The libraries the programs load, as dpkg-shlibdeps finds them; Qt's own texts in the
# user's language, which the program loads as it starts; and the narrow stand-ins for the
# design font, without which the longer captions do not fit their labels.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
include(CPack)
