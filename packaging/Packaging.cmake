# Installation and the Debian package.
#
# The installed program finds its own files relative to the executable: <prefix>/bin/keyrook
# reads <prefix>/share/keyrook/{data,sound,help.hlp}, so these two destinations stay together.
# Each user's files go to $XDG_DATA_HOME/keyrook/ (see src/base/paths.h).

set(KEYROOK_PKG ${CMAKE_SOURCE_DIR}/packaging)
set(KEYROOK_APP_ID org.example.keyrook)

install(TARGETS keyrook-tool RUNTIME DESTINATION bin)
if(TARGET keyrook)
  install(TARGETS keyrook RUNTIME DESTINATION bin)
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/data/ DESTINATION share/keyrook/data
        FILES_MATCHING PATTERN "*.std")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/sound/ DESTINATION share/keyrook/sound
        FILES_MATCHING PATTERN "*.wav")
install(FILES ${CMAKE_SOURCE_DIR}/assets/help.hlp DESTINATION share/keyrook)

install(FILES ${KEYROOK_PKG}/${KEYROOK_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${KEYROOK_PKG}/${KEYROOK_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/icons/hicolor/ DESTINATION share/icons/hicolor)
install(FILES ${CMAKE_SOURCE_DIR}/assets/icons/keyrook.svg
        DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${KEYROOK_PKG}/copyright DESTINATION share/doc/keyrook)

# Manual pages, compressed as Debian keeps them (-n: no time stamp, so builds repeat).
find_program(KEYROOK_GZIP gzip REQUIRED)
set(KEYROOK_MAN_PAGES)
foreach(page keyrook-tool.1 keyrook.6)
  string(REGEX REPLACE ".*\\." "" section ${page})
  set(out ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E copy ${KEYROOK_PKG}/${page} ${CMAKE_BINARY_DIR}/man/${page}
    COMMAND ${KEYROOK_GZIP} -9nf ${CMAKE_BINARY_DIR}/man/${page}
    DEPENDS ${KEYROOK_PKG}/${page} VERBATIM)
  list(APPEND KEYROOK_MAN_PAGES ${out})
  install(FILES ${out} DESTINATION share/man/man${section})
endforeach()
add_custom_target(keyrook_man_pages ALL DEPENDS ${KEYROOK_MAN_PAGES})

# cpack -G DEB (or scripts/keyrook.sh package): keyrook_<version>_<arch>.deb, its library
# dependencies computed from the binaries by dpkg-shlibdeps. Qt loads its platform plugins
# at run time, which no binary names, so that package is listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME keyrook)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Keyrook developers")
set(CPACK_PACKAGE_CONTACT "The Keyrook developers <keyrook@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "typing tutor and typing game for Japanese text")
# The summary above is the first line; this is the rest, one paragraph per blank line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Keyrook teaches typing Japanese sentences in romaji, with the spellings each
learner prefers. Every key is checked at once; reaction and typing times are
measured per question, and each session is rated and compared with the last.

Around the practice mode there are a letter-shooting game, a reflex test, a
numeric-keypad drill, a record viewer with charts, per-user settings and an
editor for one's own problem sets. keyrook-tool converts and checks problem
sets and records on the command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://keyrook.example.org/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The windows are Japanese: a CJK font, and Qt's own Japanese texts for the standard buttons.
# MeCab's library comes with the binaries' dependencies; its dictionary is what the maker's
# suggested readings need, and without it that one command is off.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n, mecab-ipadic-utf8")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
