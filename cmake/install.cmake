# What `cmake --install` puts where, and the Debian package made of it
# (`make package`, or `cmake --build build --target package`).

# The binary, the menu entry, the software centres' description and the
# manual page. The icons are installed beside the art that draws them
# (resources/CMakeLists.txt).
install(TARGETS zindra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(ZINDRA_DATA_DIR ${PROJECT_BINARY_DIR}/data)
configure_file(data/${ZINDRA_APP_ID}.metainfo.xml.in ${ZINDRA_DATA_DIR}/${ZINDRA_APP_ID}.metainfo.xml @ONLY)
configure_file(data/zindra.6.in ${ZINDRA_DATA_DIR}/zindra.6 @ONLY)

install(FILES data/${ZINDRA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZINDRA_DATA_DIR}/${ZINDRA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian keeps its manual pages compressed; -n leaves the time out, so the
# package comes out the same from the same sources.
find_program(GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${ZINDRA_DATA_DIR}/zindra.6.gz
  COMMAND ${GZIP} -9nc ${ZINDRA_DATA_DIR}/zindra.6 > ${ZINDRA_DATA_DIR}/zindra.6.gz
  DEPENDS ${ZINDRA_DATA_DIR}/zindra.6
  COMMENT "Compressing the manual page")
add_custom_target(zindra_manual ALL DEPENDS ${ZINDRA_DATA_DIR}/zindra.6.gz)
install(FILES ${ZINDRA_DATA_DIR}/zindra.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The package: its Depends are those of the shared libraries the installed
# files link (dpkg-shlibdeps reads them), plus what the game looks for at run
# time without linking it: a General MIDI SoundFont and the captions' font.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zindra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zindra developers")
set(CPACK_PACKAGE_CONTACT "The Zindra developers <nobody@invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "brick-breaking game for the mouse")
set(CPACK_PACKAGE_DESCRIPTION
  "Five rows of glossy stones wait at the top of a wooden board. Steer a
paddle with the mouse, launch the ball with a click and knock the stones
out; from the second level on an obstacle stands in the way. A game has
four balls, and every bounce sounds a short General MIDI note.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE ZINDRA_DEB_ARCHITECTURE
  OUTPUT_STRIP_TRAILING_WHITESPACE)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${ZINDRA_DEB_ARCHITECTURE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # zindra_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | fluid-soundfont-gm, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
# Only what the game installs: no test or benchmark programs.
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR})
include(CPack)
