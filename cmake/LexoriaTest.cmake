# lexoria_add_test(NAME SOURCES... [LIBS ...] [QT])
# One GoogleTest (or, with QT, Qt Test) executable registered with CTest under
# its own name. Tests run with the source and shared folders in the environment
# so fixtures and conformance vectors can be found.
set(LEXORIA_SHARED_DIR "${CMAKE_SOURCE_DIR}/../shared" CACHE PATH "Folder with conformance vectors and the voice")

function(lexoria_add_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(T_QT)
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set(env
    "LEXORIA_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    "LEXORIA_SHARED_DIR=${LEXORIA_SHARED_DIR}"
    "LEXORIA_RUN_DIR=${LEXORIA_RUN_DIR}")
  if(T_QT)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}")
endfunction()
