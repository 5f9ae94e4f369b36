# Installation and the Debian package.
#
# The installed program finds its own files relative to the executable: <prefix>/bin/keyrook
# reads <prefix>/share/keyrook/{data,sound,help.hlp}, so the binary and data directories keep
# GNUInstallDirs' defaults. Each user's files go to $XDG_DATA_HOME/keyrook/ (src/base/paths.h).

include(GNUInstallDirs)
if(NOT CMAKE_INSTALL_BINDIR STREQUAL "bin" OR NOT CMAKE_INSTALL_DATADIR STREQUAL "share")
  message(FATAL_ERROR "Keyrook looks for its data in ../share/keyrook beside its binary: keep "
                      "CMAKE_INSTALL_BINDIR=bin and CMAKE_INSTALL_DATADIR=share")
endif()

set(KEYROOK_PKG ${CMAKE_SOURCE_DIR}/packaging)
set(KEYROOK_APP_ID org.example.keyrook)
set(KEYROOK_SHARE ${CMAKE_INSTALL_DATADIR}/keyrook)
set(KEYROOK_DOC ${CMAKE_INSTALL_DATADIR}/doc/keyrook)  # the package's name, not the project's

install(TARGETS keyrook-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET keyrook)
  install(TARGETS keyrook RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(TARGETS keyrook-maker keyrook-graph LIBRARY DESTINATION ${KEYROOK_MODULE_INSTALL_DIR})
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/data/ DESTINATION ${KEYROOK_SHARE}/data
        FILES_MATCHING PATTERN "*.std")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/sound/ DESTINATION ${KEYROOK_SHARE}/sound
        FILES_MATCHING PATTERN "*.wav")
install(FILES ${CMAKE_SOURCE_DIR}/assets/help.hlp DESTINATION ${KEYROOK_SHARE})

install(FILES ${KEYROOK_PKG}/${KEYROOK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KEYROOK_PKG}/${KEYROOK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/icons/hicolor/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_SOURCE_DIR}/assets/icons/keyrook.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${KEYROOK_PKG}/copyright DESTINATION ${KEYROOK_DOC})

# The package's changelog names the version it packs; the two must not drift apart.
file(STRINGS ${KEYROOK_PKG}/changelog KEYROOK_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT KEYROOK_CHANGELOG_TOP MATCHES "^keyrook \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog begins with \"${KEYROOK_CHANGELOG_TOP}\": "
                      "give version ${PROJECT_VERSION} an entry on top")
endif()

# Manual pages and the changelog, compressed as Debian keeps them (-n: no time stamp, so
# builds repeat). A Debian-native version (no revision) has changelog.gz, not changelog.Debian.gz.
find_program(KEYROOK_GZIP gzip REQUIRED)
set(KEYROOK_GZIPPED)
foreach(file keyrook-tool.1 keyrook.6 changelog)
  set(out ${CMAKE_BINARY_DIR}/packaging/${file}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND ${CMAKE_COMMAND} -E copy ${KEYROOK_PKG}/${file} ${CMAKE_BINARY_DIR}/packaging/${file}
    COMMAND ${KEYROOK_GZIP} -9nf ${CMAKE_BINARY_DIR}/packaging/${file}
    DEPENDS ${KEYROOK_PKG}/${file} VERBATIM)
  list(APPEND KEYROOK_GZIPPED ${out})
  if(file STREQUAL "changelog")
    install(FILES ${out} DESTINATION ${KEYROOK_DOC})
  else()
    string(REGEX REPLACE ".*\\." "" section ${file})
    install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  endif()
endforeach()
add_custom_target(keyrook_packaging_files ALL DEPENDS ${KEYROOK_GZIPPED})

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
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://keyrook.example.org/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libmecab2 is loaded when readings are first suggested, so the library scan cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libmecab2")
# The windows are Japanese: a CJK font, and Qt's own Japanese texts for the standard buttons.
# MeCab's library is a dependency above; its dictionary is what the maker's
# suggested readings need, and without it that one command is off.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n, mecab-ipadic-utf8")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
