# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DFOLDERS="a;b" -P noqtbelow.cmake
# Fails when a C++ file under one of the folders includes a Qt header: the
# decoder, the sound layer and the data layer stand on the standard library
# alone.
set(qt_include "#[ \t]*include[ \t]*[<\"]((Qt[A-Za-z]+/)?Q[A-Za-z0-9_]+|q[a-z0-9_]+\\.h)[>\"]")
set(found "")
foreach(folder IN LISTS FOLDERS)
  file(GLOB_RECURSE files ${folder}/*.h ${folder}/*.hpp ${folder}/*.cpp ${folder}/*.cc ${folder}/*.inc)
  foreach(file IN LISTS files)
    file(STRINGS ${file} lines REGEX "${qt_include}")
    foreach(line IN LISTS lines)
      string(STRIP "${line}" line)
      list(APPEND found "${file}: ${line}")
    endforeach()
  endforeach()
endforeach()
if(found)
  list(JOIN found "\n  " report)
  message(FATAL_ERROR "Qt headers below the window side:\n  ${report}")
endif()
list(LENGTH FOLDERS count)
message(STATUS "no Qt header in ${count} folders")
