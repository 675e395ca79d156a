include(GoogleTest)

# One ctest entry per GoogleTest case, from CMake's own scan of the sources (nothing
# runs at configure time, so it works when cross-compiling, and a changed source makes
# CMake scan again). An entry whose case is gone fails instead of passing on "0 tests".
#   vx_add_gtest_cases(PREFIX p COMMAND cmd SOURCES files... [PROPERTIES k v ...])
# COMMAND is the test program (a target gets the cross-compiling emulator).
function(vx_add_gtest_cases)
    cmake_parse_arguments(ARG "" "PREFIX;COMMAND" "SOURCES;PROPERTIES" ${ARGN})
    gtest_add_tests(TARGET ${ARG_COMMAND} SOURCES ${ARG_SOURCES} TEST_PREFIX ${ARG_PREFIX}. TEST_LIST added)
    set_tests_properties(${added} PROPERTIES FAIL_REGULAR_EXPRESSION "Running 0 tests" ${ARG_PROPERTIES})
endfunction()

# GoogleTest built from Debian's sources with the current compiler.
function(vx_use_googletest)
    if(TARGET gtest)
        return()
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${VX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endfunction()
