# wx_library(<name> <sources...> [LIBS <libs...>])
# One static library per folder. A platform library sees only platform/ ("toolbox/Files.h");
# the system's libraries see platform/ and the source root ("output/hub/WXFolders.h").
function(wx_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  string(FIND "${CMAKE_CURRENT_SOURCE_DIR}/" "${CMAKE_SOURCE_DIR}/platform/" at)
  if(at EQUAL 0)
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/platform)
  else()
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/platform ${CMAKE_SOURCE_DIR})
  endif()
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
endfunction()

# wx_test(<name> <sources...> [LIBS <libs...>] [ENVIRONMENT <VAR=value...>] [TIMEOUT <seconds>])
# A GoogleTest executable; each test case becomes a CTest test, run with the ENVIRONMENT
# given (and, for slow cases, a TIMEOUT of their own). Its main (tests/support/TestMain.cpp) points the test at the sample-output folder,
# the trees and the resource file.
# Tests run side by side, so text recognition keeps to one thread in each (its OpenMP
# threads otherwise fight the other tests for the cores; the variable is read at load time).
function(wx_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS} ${CMAKE_SOURCE_DIR}/tests/support/TestMain.cpp)
  target_compile_definitions(${name} PRIVATE
    WX_TEST_OUTPUT_DEFAULT="${WX_TEST_OUTPUT_DIR}"
    WX_SOURCE_DIR_DEFAULT="${CMAKE_SOURCE_DIR}"
    WX_BINARY_DIR_DEFAULT="${CMAKE_BINARY_DIR}")
  target_link_libraries(${name} PRIVATE wx_test_support ${ARG_LIBS} GTest::gtest GTest::gmock)
  set(timeout)
  if(ARG_TIMEOUT)
    set(timeout TIMEOUT ${ARG_TIMEOUT})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "OMP_THREAD_LIMIT=1;${ARG_ENVIRONMENT}" ${timeout})
endfunction()

# wx_lazy_library(<source> <macro> <library file>)
# For a library opened with dlopen at its first use (toolbox/LazyLibrary.h) instead of linked:
# compiles <source> with <macro> defined as the library's soname, read from the file.
function(wx_lazy_library source macro file)
  execute_process(COMMAND ${CMAKE_OBJDUMP} -p ${file} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
  if(failed OR NOT dump MATCHES "SONAME +([^\n]+)")
    message(FATAL_ERROR "No soname in ${file}")
  endif()
  set_property(SOURCE ${source} APPEND PROPERTY COMPILE_DEFINITIONS "${macro}=\"${CMAKE_MATCH_1}\"")
endfunction()
