# Test helpers shared by every test folder.

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

if(CMAKE_CROSSCOMPILING)
  # One Xvfb, one wineserver and one private prefix serve the whole test run.
  set(SUTAKIBA_SESSION_DIR ${CMAKE_BINARY_DIR}/test-session)
  add_test(NAME wine_session_start
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-session.sh start ${SUTAKIBA_SESSION_DIR})
  add_test(NAME wine_session_stop
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-session.sh stop ${SUTAKIBA_SESSION_DIR})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP WineSession)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP WineSession)
endif()

# sutakiba_add_wine_test(<target> [CODEPAGES 932 1252] [ARGS ...] [WORKING_DIRECTORY dir])
# Registers a Windows test program to run under Wine once per code page
# (default: 932 only). Each run is one test named <target>_cp<page>.
function(sutakiba_add_wine_test target)
  cmake_parse_arguments(T "" "WORKING_DIRECTORY" "CODEPAGES;ARGS" ${ARGN})
  if(NOT T_CODEPAGES)
    set(T_CODEPAGES 932)
  endif()
  if(NOT T_WORKING_DIRECTORY)
    set(T_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  foreach(cp IN LISTS T_CODEPAGES)
    add_test(NAME ${target}_cp${cp} COMMAND ${target} ${T_ARGS}
             WORKING_DIRECTORY ${T_WORKING_DIRECTORY})
    set_tests_properties(${target}_cp${cp} PROPERTIES
      FIXTURES_REQUIRED WineSession
      ENVIRONMENT "SUTAKIBA_SESSION=${SUTAKIBA_SESSION_DIR};SUTAKIBA_CODEPAGE=${cp}"
      TIMEOUT 300)
  endforeach()
endfunction()

# sutakiba_add_host_test(<target>): a native GoogleTest program.
function(sutakiba_add_host_test target)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES TIMEOUT 300)
endfunction()
