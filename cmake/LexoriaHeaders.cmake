# SPDX-License-Identifier: GPL-3.0-or-later
# lexoria_export_headers(target folder)
# Everything includes across libraries as "folder/name.h". Each library gets
# an include root of its own that holds nothing but a link to src/<folder>,
# so such a header is found by the library and by what links it, and an
# include of a library that is not linked fails to compile.
function(lexoria_export_headers target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${root})
  if(NOT IS_SYMLINK ${root}/${folder})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
