# One ctest entry per GoogleTest case, found by scanning the sources (the binaries
# may be Windows programs that cannot run at configure time).
#   vx_add_gtest_cases(PREFIX p COMMAND cmd... SOURCES files... [PROPERTIES k v ...])
# COMMAND is the test program (a target name gets the cross-compiling emulator).
function(vx_add_gtest_cases)
    cmake_parse_arguments(ARG "" "PREFIX" "COMMAND;SOURCES;PROPERTIES" ${ARGN})
    foreach(source ${ARG_SOURCES})
        file(READ ${source} content)
        string(REGEX MATCHALL "(TEST|TEST_F)\\([ \t\r\n]*[A-Za-z_0-9]+[ \t\r\n]*,[ \t\r\n]*[A-Za-z_0-9]+[ \t\r\n]*\\)" found "${content}")
        foreach(hit ${found})
            string(REGEX REPLACE "(TEST|TEST_F)\\([ \t\r\n]*([A-Za-z_0-9]+)[ \t\r\n]*,[ \t\r\n]*([A-Za-z_0-9]+).*" "\\2.\\3" name "${hit}")
            add_test(NAME ${ARG_PREFIX}.${name} COMMAND ${ARG_COMMAND} --gtest_filter=${name})
            if(ARG_PROPERTIES)
                set_tests_properties(${ARG_PREFIX}.${name} PROPERTIES ${ARG_PROPERTIES})
            endif()
        endforeach()
    endforeach()
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
