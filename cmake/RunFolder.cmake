# SPDX-License-Identifier: GPL-3.0-or-later
# Lays out the run folder: the generated phrase files and sound archive from
# content/generated/, and the two font files under the names the program
# registers. Copied at build time so a rebuild picks up regenerated content.
set(LEXORIA_CONTENT_DIR ${CMAKE_SOURCE_DIR}/content/generated)
set(LEXORIA_ARIAL_TTF /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf CACHE FILEPATH "Latin font shipped as arial.ttf")
set(LEXORIA_MSHEI_TTF /usr/share/fonts/opentype/ipaexfont-gothic/ipaexg.ttf CACHE FILEPATH "Japanese font shipped as mshei.ttf")

file(GLOB content_files CONFIGURE_DEPENDS ${LEXORIA_CONTENT_DIR}/*)
set(run_outputs)
foreach(f IN LISTS content_files)
  get_filename_component(n ${f} NAME)
  add_custom_command(OUTPUT ${LEXORIA_RUN_DIR}/${n}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${LEXORIA_RUN_DIR}/${n}
    DEPENDS ${f} VERBATIM)
  list(APPEND run_outputs ${LEXORIA_RUN_DIR}/${n})
endforeach()
foreach(pair "arial.ttf|${LEXORIA_ARIAL_TTF}" "mshei.ttf|${LEXORIA_MSHEI_TTF}")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 n)
  list(GET pair 1 f)
  if(EXISTS ${f})
    add_custom_command(OUTPUT ${LEXORIA_RUN_DIR}/${n}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${LEXORIA_RUN_DIR}/${n}
      DEPENDS ${f} VERBATIM)
    list(APPEND run_outputs ${LEXORIA_RUN_DIR}/${n})
  else()
    message(WARNING "${f} not found: ${n} is left out of the run folder")
  endif()
endforeach()
add_custom_target(run_folder ALL DEPENDS ${run_outputs})
