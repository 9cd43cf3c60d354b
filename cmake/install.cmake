# SPDX-FileCopyrightText: 2026 The Nokturna team
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Where `cmake --install` puts the game, and the Debian package CPack makes of it (prefix /usr), as
# Debian's policy for games has it:
#
#   <prefix>/games/nokturna                         the command: a relative symbolic link to the program
#   <prefix>/lib/games/nokturna/nokturna            the program
#   <prefix>/lib/games/nokturna/nokturna-sound      its sound program, which the game starts and restarts
#   <prefix>/lib/games/nokturna/SongAlbum/          its songs, beside it, where the song search looks
#   <prefix>/share/man/man6/nokturna.6.gz           the manual page
#   <prefix>/share/doc/nokturna/                    the copyright file and the changelog
#   <prefix>/share/applications/                    the menu entry
#   <prefix>/share/metainfo/                        the software-centre description
#   <prefix>/share/icons/hicolor/*/apps/            the icon, 32 to 256 px and scalable
#
# The program folder holds the program and what it finds through its own folder (/proc/self/exe), so the
# link works from any working folder, also through further links.

include(GNUInstallDirs)

# Installing and packaging take the program as built and never start a build of the whole tree (with its
# tests) themselves: build first, then `cmake --install` or `cpack`.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(NOKTURNA_COMMAND_DIR games CACHE STRING "Where the command goes, under the install prefix")
set(NOKTURNA_PROGRAM_DIR lib/games/nokturna CACHE STRING
  "Where the program and the files it loads from beside itself go, under the install prefix")
# The targets that live beside the program: the game and its sound program.
set(nokturna_program_targets nokturna nokturna-sound)
set(nokturna_id io.github.nokturna.Nokturna)

install(TARGETS ${nokturna_program_targets}
  RUNTIME DESTINATION ${NOKTURNA_PROGRAM_DIR}
  LIBRARY DESTINATION ${NOKTURNA_PROGRAM_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/SongAlbum DESTINATION ${NOKTURNA_PROGRAM_DIR}
  FILES_MATCHING PATTERN "*.mid")

# The link is made in the build tree and installed as a link, so it is listed in install_manifest.txt.
file(RELATIVE_PATH command_target /${NOKTURNA_COMMAND_DIR} /${NOKTURNA_PROGRAM_DIR}/nokturna)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/launcher)
file(CREATE_LINK ${command_target} ${CMAKE_BINARY_DIR}/launcher/nokturna SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/launcher/nokturna DESTINATION ${NOKTURNA_COMMAND_DIR})

set(desktop_dir ${PROJECT_SOURCE_DIR}/desktop)
install(FILES ${desktop_dir}/${nokturna_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_dir}/${nokturna_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
set(icon_theme ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/assets/pictures/icon.png
  DESTINATION ${icon_theme}/32x32/apps RENAME nokturna.png)
install(FILES ${PROJECT_SOURCE_DIR}/assets/pictures/icon@2x.png
  DESTINATION ${icon_theme}/64x64/apps RENAME nokturna.png)
foreach(size 128 256)
  install(FILES ${desktop_dir}/icons/nokturna_${size}.png
    DESTINATION ${icon_theme}/${size}x${size}/apps RENAME nokturna.png)
endforeach()
install(FILES ${desktop_dir}/nokturna.svg DESTINATION ${icon_theme}/scalable/apps)

# ------------------------------------------------------------------ the manual page and the documents

set(CPACK_PACKAGE_CONTACT "The Nokturna team <nokturna@users.noreply.github.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/nokturna/nokturna")

# Made when the tree is configured, from files that only change with the source: configure runs again when
# one of them changes. gzip as Debian packages it: the best compression, and no name or time in the header.
set(documents ${CMAKE_BINARY_DIR}/documents)
file(MAKE_DIRECTORY ${documents})
function(nokturna_gzip source output)
  execute_process(COMMAND gzip -9 -n -c ${source} OUTPUT_FILE ${output} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${source}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()
nokturna_gzip(${PROJECT_SOURCE_DIR}/docs/nokturna.6 ${documents}/nokturna.6.gz)
nokturna_gzip(${PROJECT_SOURCE_DIR}/cmake/debian/changelog ${documents}/changelog.gz)

# The copyright file in Debian's machine-readable format. Debian keeps no copy of the Creative Commons text
# in /usr/share/common-licenses, so the file carries it whole, taken from LICENSES/: as the format wants
# it, each line indented by one space, an empty line written as " .", and a tab as spaces.
set(cc_by_sa_text ${PROJECT_SOURCE_DIR}/LICENSES/CC-BY-SA-4.0.txt)
execute_process(COMMAND sed -e "s/\t/        /g" -e "s/^$/./" -e "s/^/ /" ${cc_by_sa_text}
  OUTPUT_VARIABLE CC_BY_SA_4_0_TEXT OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "could not read ${cc_by_sa_text}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${cc_by_sa_text})
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/copyright.in ${documents}/copyright @ONLY)

install(FILES ${documents}/nokturna.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${documents}/copyright ${documents}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nokturna)

# ------------------------------------------------------------------ the Debian package

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nokturna)
set(CPACK_PACKAGE_VENDOR "The Nokturna team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dots-and-boxes game in a slightly silly graveyard")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # nokturna_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The first line of Description is the summary above; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Nokturna is a dots-and-boxes game for two sides at one computer: a friend,
or the computer player Daviz Edezo. Take turns claiming a line between two
posts of the 8 x 8 board; close the fourth side of a square and it is yours,
with another move. The side with more squares is crowned Raja Kubur,
king of the graveyard.
.
Hand-painted graveyard pictures, sound effects and four background songs.")
# The libraries the program and its sound program link, with the versions they need, come from
# dpkg-shlibdeps (dpkg-dev). No library names what the game looks for at run time, so these are added by
# hand: Qt's platform plugins, a General MIDI SoundFont for the songs (either package gives
# /usr/share/sounds/sf2/default-GM.sf2) and the two font families the game asks for by name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, timgm6mb-soundfont | fluid-soundfont-gm, fonts-liberation2, fonts-lato")

include(CPack)
