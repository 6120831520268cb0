# wx_library(<name> <sources...> [LIBS <libs...>])
# One static library per folder; its folder's parent (platform/ or the source root) is the include root.
function(wx_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/platform ${CMAKE_SOURCE_DIR})
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
endfunction()

# wx_test(<name> <sources...> [LIBS <libs...>])
# A GoogleTest executable; each test case becomes a CTest test. Tests find their
# sample-output folder and the source tree through the environment.
function(wx_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE wx_test_support ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "WX_TEST_OUTPUT=${WX_TEST_OUTPUT_DIR};WX_SOURCE_DIR=${CMAKE_SOURCE_DIR};WX_BINARY_DIR=${CMAKE_BINARY_DIR};WX_RESOURCE_FILE=${CMAKE_BINARY_DIR}/Wendrix.rsrc;WX_DISPLAY=headless;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()
