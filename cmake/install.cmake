# Installing the program, and its Debian package.
#
#   <prefix>/bin/berlivo                               the program
#   <prefix>/share/berlivo-paye/Taux.txt               the first rates file
#   <prefix>/share/berlivo-paye/Baremes.txt            the legal values with their dates
#   <prefix>/share/berlivo-paye/Cotisations.txt        the contribution lines with their dates
#   <prefix>/share/berlivo-paye/Aide/                  the compiled help, as the build lays it out
#   <prefix>/share/applications/berlivo-paye.desktop   the desktop menu entry
#   <prefix>/share/icons/hicolor/<n>x<n>/apps/         the program's icon
#
# The installed program cannot write beside its executable: it keeps the
# user's files in their own data folder, laid out at its first start from
# the shared folder above. Qt's French texts come from the system's
# qt6-translations-l10n, a declared dependency.

include(GNUInstallDirs)
set(BERLIVO_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/berlivo-paye)

# Where the program finds the shared folder, from the folder of its executable.
file(RELATIVE_PATH _berlivo_share_from_bin
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${BERLIVO_SHARE_DIR})
target_compile_definitions(berlivo_common PRIVATE BERLIVO_INSTALLED_FILES="${_berlivo_share_from_bin}")

install(TARGETS berlivo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/Taux.txt ${CMAKE_SOURCE_DIR}/data/Baremes.txt
              ${CMAKE_SOURCE_DIR}/data/Cotisations.txt DESTINATION ${BERLIVO_SHARE_DIR})
install(DIRECTORY ${BERLIVO_PROGRAM_DIR}/Aide/ DESTINATION ${BERLIVO_SHARE_DIR}/Aide)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/berlivo-paye.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# cpack -G DEB: the package's library dependencies are read from the
# program's own links (dpkg-shlibdeps); what it loads at run time or only
# uses by name is declared here: the SQLite driver and the X11 platform of
# Qt, Qt's French texts, the JPEG codec of the slip pictures, the fonts of
# the look, the CUPS client.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME berlivo-paye)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Berlivo")
set(CPACK_PACKAGE_CONTACT "Berlivo Paye <berlivo-paye@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Paye d'une assistante maternelle agréée")
set(CPACK_PACKAGE_DESCRIPTION "Berlivo Paye calcule le bulletin de salaire mensuel d'une assistante
maternelle agréée employée par des parents : heures du mois, indemnités,
cotisations, sur une base nette ou brute, pour cinq enfants au plus.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6sql6-sqlite, qt6-qpa-plugins, qt6-translations-l10n, libjpeg62-turbo, fonts-urw-base35, fonts-liberation2, fonts-comic-neue, libcups2")
include(CPack)
