# SPDX-License-Identifier: GPL-3.0-or-later
# Install rules (cmake --install, the Debian package): the FHS and XDG layout
# the paths seam looks for. Tests, benchmarks and developer tools stay out.
# The run folder build/run/ is not touched by any of this.
set(LEXORIA_APP_ID example.lexoria.Japanese)
set(LEXORIA_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${LEXORIA_INSTALL_NAME})

install(TARGETS mpadec RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOT LEXORIA_QT)
  return()
endif()
# The run folder keeps the program's own name; installed, it takes the
# lower-case name a shell user types.
install(PROGRAMS $<TARGET_FILE:Lexoria_Japanese> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME ${LEXORIA_INSTALL_NAME})

foreach(name English.dat Japanese.dat MapEngSpec.data Relate.dat Readings.txt data.idx data.dat)
  install(FILES ${CMAKE_SOURCE_DIR}/content/generated/${name} DESTINATION ${LEXORIA_INSTALL_DATADIR})
endforeach()

# The metainfo and the man pages carry the version and the release date,
# both from debian/changelog (Release.cmake).
set(generated ${CMAKE_BINARY_DIR}/generated/install)
configure_file(${CMAKE_SOURCE_DIR}/res/desktop/${LEXORIA_APP_ID}.metainfo.xml.in
  ${generated}/${LEXORIA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_SOURCE_DIR}/res/desktop/${LEXORIA_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
# The desktop entry is DBusActivatable: the session bus starts the program
# by its application id.
configure_file(${CMAKE_SOURCE_DIR}/res/desktop/${LEXORIA_APP_ID}.service.in ${generated}/${LEXORIA_APP_ID}.service @ONLY)
install(FILES ${generated}/${LEXORIA_APP_ID}.service DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/dbus-1/services)
install(FILES ${generated}/${LEXORIA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/res/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons
  FILES_MATCHING PATTERN "*.png")

install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/docs/credits.txt
  ${CMAKE_SOURCE_DIR}/content/VOICE-LICENSE.txt DESTINATION ${LEXORIA_DOCDIR})
foreach(page lexoria-japanese mpadec phrasetool)
  configure_file(${CMAKE_SOURCE_DIR}/docs/man/${page}.1.in ${generated}/${page}.1 @ONLY)
  install(FILES ${generated}/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
