# SPDX-License-Identifier: GPL-3.0-or-later
# lexoria_buildconfig: the generated header lexoria/buildconfig.h, with the
# project's version and the installed data folder relative to the installed
# program (so the install tree can be moved, or run from a DESTDIR).
include(GNUInstallDirs)
set(LEXORIA_INSTALL_NAME lexoria-japanese)
set(LEXORIA_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/${LEXORIA_INSTALL_NAME})
file(RELATIVE_PATH LEXORIA_DATA_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_DATADIR}/${LEXORIA_INSTALL_NAME})
configure_file(${CMAKE_CURRENT_LIST_DIR}/buildconfig.h.in ${CMAKE_BINARY_DIR}/generated/lexoria/buildconfig.h @ONLY)
add_library(lexoria_buildconfig INTERFACE)
target_include_directories(lexoria_buildconfig INTERFACE ${CMAKE_BINARY_DIR}/generated)
