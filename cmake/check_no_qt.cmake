# cmake -DPROGRAMS="a;b" -P check_no_qt.cmake
cmake_minimum_required(VERSION 3.22)
# Fails when ldd lists a Qt library for any of the programs.
foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND ldd ${program} OUTPUT_VARIABLE libraries RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "ldd ${program} failed (${rc})")
  endif()
  if(libraries MATCHES "libQt[^ \n]*")
    message(FATAL_ERROR "${program} links ${CMAKE_MATCH_0}")
  endif()
endforeach()
