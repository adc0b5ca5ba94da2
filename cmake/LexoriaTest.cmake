# SPDX-License-Identifier: GPL-3.0-or-later
# lexoria_add_test(NAME SOURCES... [LIBS ...] [QT])
# One GoogleTest (or, with QT, Qt Test) executable registered with CTest under
# its own name. Tests run with the source and shared folders in the environment
# so fixtures and conformance vectors can be found. A binary whose inputs are
# missing reports as skipped: GoogleTest ones exit with 77 when every case was
# skipped (tests/support/gtestmain.cpp); Qt Test ones are skipped when no case
# but the two framework slots passed and some were skipped. Each folder under
# tests/ gives its tests the label of its area (tests/CMakeLists.txt).
set(LEXORIA_SHARED_DIR "${CMAKE_SOURCE_DIR}/../shared" CACHE PATH "Folder with conformance vectors and the voice")

add_library(lexoria_gtest_main STATIC ${CMAKE_SOURCE_DIR}/tests/support/gtestmain.cpp)
target_link_libraries(lexoria_gtest_main PUBLIC GTest::gtest)

function(lexoria_add_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(T_QT)
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} lexoria_gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(T_QT)
    # initTestCase and cleanupTestCase always pass.
    set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "Totals: [0-2] passed, 0 failed, [1-9][0-9]* skipped")
  else()
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
  endif()
  set(env
    "LEXORIA_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    "LEXORIA_SHARED_DIR=${LEXORIA_SHARED_DIR}"
    "LEXORIA_RUN_DIR=${LEXORIA_RUN_DIR}")
  if(T_QT)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}")
endfunction()
