# Where `cmake --install` puts the game, and the Debian package CPack makes of it.
#
#   <prefix>/lib/nokturna/nokturna             the program
#   <prefix>/lib/nokturna/nokturna_sound.so    its sound back end, loaded at run time
#   <prefix>/lib/nokturna/SongAlbum/           its songs, beside it, where the song search looks
#   <prefix>/bin/nokturna                      a relative symbolic link to the program
#   <prefix>/share/applications/               the menu entry
#   <prefix>/share/metainfo/                   the software-centre description
#   <prefix>/share/icons/hicolor/*/apps/       the icon, 32 to 256 px and scalable
#
# The program folder is a plain lib/nokturna, not the multiarch library folder: it holds the program and
# its data, not libraries. The program finds its folder through /proc/self/exe, so the link in bin/ works
# from any working folder, also through further links.

include(GNUInstallDirs)

# Installing and packaging take the program as built and never start a build of the whole tree (with its
# tests) themselves: build first, then `cmake --install` or `cpack`.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(NOKTURNA_PROGRAM_DIR lib/nokturna)
set(nokturna_id io.github.nokturna.Nokturna)

install(TARGETS nokturna RUNTIME DESTINATION ${NOKTURNA_PROGRAM_DIR})
install(TARGETS nokturna_sound LIBRARY DESTINATION ${NOKTURNA_PROGRAM_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/SongAlbum DESTINATION ${NOKTURNA_PROGRAM_DIR}
  FILES_MATCHING PATTERN "*.mid")

# The link is made in the build tree and installed as a link, so it is listed in install_manifest.txt.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/launcher)
file(CREATE_LINK ../${NOKTURNA_PROGRAM_DIR}/nokturna ${CMAKE_BINARY_DIR}/launcher/nokturna SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/launcher/nokturna DESTINATION ${CMAKE_INSTALL_BINDIR})

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

# ------------------------------------------------------------------ the Debian package

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nokturna)
set(CPACK_PACKAGE_VENDOR "The Nokturna team")
set(CPACK_PACKAGE_CONTACT "The Nokturna team <nokturna@users.noreply.github.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/nokturna/nokturna")
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
# The libraries the program and its sound module link, with the versions they need, come from
# dpkg-shlibdeps (dpkg-dev). No library names what the game looks for at run time, so these are added by
# hand: Qt's platform plugins, a General MIDI SoundFont for the songs (either package gives
# /usr/share/sounds/sf2/default-GM.sf2) and the two font families the game asks for by name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, timgm6mb-soundfont | fluid-soundfont-gm, fonts-liberation2, fonts-lato")

include(CPack)
