# SPDX-FileCopyrightText: 2026 The Zindra developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# What `cmake --install` puts where, and the Debian package made of it
# (`make package`, or `cmake --build build --target package`).

# The program goes where the desktop's PATH finds it: <bindir> for
# `cmake --install` into any prefix, /usr/games in the package, where Debian
# puts games. Both lie beside lib/ and share/, so the paths by which the
# program finds its sound module and SoundFont hold for either.
install(TARGETS zindra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(TARGETS zindra RUNTIME DESTINATION games COMPONENT debian EXCLUDE_FROM_ALL)

# Debian's strip also drops the compiler's version stamp (the .comment
# section), which CMake's keeps: done after it whenever the install strips,
# as the package's does.
function(zindra_strip_comment file)
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${file}\" COMMAND_ERROR_IS_FATAL ANY)
endif()" ${ARGN})
endfunction()
zindra_strip_comment(${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:zindra> COMPONENT program)
zindra_strip_comment(games/$<TARGET_FILE_NAME:zindra> COMPONENT debian EXCLUDE_FROM_ALL)
zindra_strip_comment(${CMAKE_INSTALL_LIBDIR}/zindra/$<TARGET_FILE_NAME:zindra_sound>)

# The menu entry, the software centres' description, the manual page, the
# changelog and the copyright. The icons are installed beside the art that
# draws them (resources/CMakeLists.txt).
set(ZINDRA_DATA_DIR ${PROJECT_BINARY_DIR}/data)
set(ZINDRA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zindra)
configure_file(data/${ZINDRA_APP_ID}.metainfo.xml.in ${ZINDRA_DATA_DIR}/${ZINDRA_APP_ID}.metainfo.xml @ONLY)
configure_file(data/zindra.6.in ${ZINDRA_DATA_DIR}/zindra.6 @ONLY)
install(FILES data/${ZINDRA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZINDRA_DATA_DIR}/${ZINDRA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Whoever builds the package for a distribution maintains it there: the
# default is a placeholder on the reserved domain .invalid, which lintian
# reports (bogus-mail-host) until the packager names themselves.
set(ZINDRA_MAINTAINER_PLACEHOLDER "Zindra packager <set-ZINDRA_MAINTAINER@invalid>")
set(ZINDRA_MAINTAINER ${ZINDRA_MAINTAINER_PLACEHOLDER} CACHE STRING
  "The package's maintainer, and the changelog's signer: Name <address>")

# The changelog is Debian's, one entry a release, dated by the release.
execute_process(COMMAND date --utc --rfc-email --date=${ZINDRA_RELEASE_DATE}
  OUTPUT_VARIABLE ZINDRA_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(data/changelog.in ${ZINDRA_DATA_DIR}/changelog @ONLY)

# Debian keeps its manual pages and changelogs compressed; -n leaves the time
# out, so the package comes out the same from the same sources.
find_program(GZIP gzip REQUIRED)
foreach(file IN ITEMS zindra.6 changelog)
  add_custom_command(
    OUTPUT ${ZINDRA_DATA_DIR}/${file}.gz
    COMMAND ${GZIP} -9nc ${ZINDRA_DATA_DIR}/${file} > ${ZINDRA_DATA_DIR}/${file}.gz
    DEPENDS ${ZINDRA_DATA_DIR}/${file}
    COMMENT "Compressing ${file}")
endforeach()
add_custom_target(zindra_docs ALL DEPENDS ${ZINDRA_DATA_DIR}/zindra.6.gz ${ZINDRA_DATA_DIR}/changelog.gz)
install(FILES ${ZINDRA_DATA_DIR}/zindra.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${ZINDRA_DATA_DIR}/changelog.gz DESTINATION ${ZINDRA_DOC_DIR})

# The copyright, in Debian's machine-readable form: the game's licence, and
# the SoundFont's for the cut of it the package holds (resources/CMakeLists.txt),
# as the package it comes from states it.
string(SUBSTRING ${ZINDRA_RELEASE_DATE} 0 4 ZINDRA_COPYRIGHT_YEARS)
set(ZINDRA_SOUNDFONT_STANZA "")
if(ZINDRA_GM_SOUNDFONT)
  get_filename_component(source ${ZINDRA_GM_SOUNDFONT} REALPATH)
  execute_process(COMMAND dpkg-query -S ${source}
    OUTPUT_VARIABLE package ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REGEX REPLACE ":.*" "" package "${package}")
  get_filename_component(name ${source} NAME)
  if(package AND EXISTS /usr/share/doc/${package}/copyright)
    execute_process(COMMAND awk -v name=${name} -v file=usr/${CMAKE_INSTALL_DATADIR}/zindra/zindra.sf2
        -v "comment=Cut at build time to the instruments the game plays, out of ${source} of the Debian package ${package}."
        -f ${PROJECT_SOURCE_DIR}/cmake/copyright-stanza.awk /usr/share/doc/${package}/copyright
      OUTPUT_VARIABLE ZINDRA_SOUNDFONT_STANZA COMMAND_ERROR_IS_FATAL ANY)
    string(PREPEND ZINDRA_SOUNDFONT_STANZA "\n")
  else()
    message(WARNING "No Debian package states the copyright of ${source}: "
      "the package's copyright file cannot name the licence of the SoundFont cut from it")
  endif()
endif()
configure_file(data/copyright.in ${ZINDRA_DATA_DIR}/copyright @ONLY)
install(FILES ${ZINDRA_DATA_DIR}/copyright DESTINATION ${ZINDRA_DOC_DIR})

# The package: its Depends are those of the shared libraries the installed
# files link (dpkg-shlibdeps reads them), plus what the game looks for at run
# time without linking it: a General MIDI SoundFont and the captions' font.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zindra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zindra developers")
set(CPACK_PACKAGE_CONTACT ${ZINDRA_MAINTAINER})
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
# Whatever the umask of whoever packs.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Only what the game installs (no test or benchmark programs), with the
# program in games/ instead of <bindir>.
set(CPACK_INSTALL_CMAKE_PROJECTS
  ${PROJECT_BINARY_DIR} ${PROJECT_NAME} Unspecified /
  ${PROJECT_BINARY_DIR} ${PROJECT_NAME} debian /)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR})
# The package's file times are those of the last commit (see the file).
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/package-time.cmake)
set(CPACK_ZINDRA_SOURCE_DIR ${PROJECT_SOURCE_DIR})
include(CPack)
