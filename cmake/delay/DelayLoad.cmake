# System DLLs loaded on the first call into them instead of when the process starts.
#   vx_delay_load(NAME dll...)   NAME: an interface library to link in place of the DLLs
# MSVC: /DELAYLOAD and delayimp. MinGW: GNU ld has no /DELAYLOAD; dlltool makes an import
# library whose thunks load the DLL through __delayLoadHelper2 (libmingwex, linked by
# default), from a .def made at build time from the toolchain's own import library.
# Other toolchains: ordinary imports.
function(vx_delay_load name)
    add_library(${name} INTERFACE)
    if(MSVC)
        target_link_libraries(${name} INTERFACE ${ARGN} delayimp)
        foreach(dll IN LISTS ARGN)
            target_link_options(${name} INTERFACE /DELAYLOAD:${dll}.dll)
        endforeach()
        return()
    endif()
    if(NOT MINGW OR NOT CMAKE_DLLTOOL OR NOT CMAKE_NM)
        target_link_libraries(${name} INTERFACE ${ARGN})
        return()
    endif()
    set(dir ${CMAKE_BINARY_DIR}/delay)
    set(libraries)
    foreach(dll IN LISTS ARGN)
        execute_process(COMMAND ${CMAKE_C_COMPILER} -print-file-name=lib${dll}.a
                        OUTPUT_VARIABLE import_library OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${import_library}" OR NOT EXISTS "${import_library}")
            message(FATAL_ERROR "no import library lib${dll}.a for delay-loading ${dll}.dll")
        endif()
        add_custom_command(
            OUTPUT ${dir}/${dll}.def ${dir}/lib${dll}_delay.a
            COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DIMPORT_LIBRARY=${import_library} -DDLL=${dll}.dll
                    -DOUTPUT=${dir}/${dll}.def -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/make_def.cmake
            COMMAND ${CMAKE_DLLTOOL} --input-def ${dir}/${dll}.def --output-delaylib ${dir}/lib${dll}_delay.a
            DEPENDS ${import_library} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/make_def.cmake
            COMMENT "Delay-loading library for ${dll}.dll" VERBATIM)
        list(APPEND libraries ${dir}/lib${dll}_delay.a)
    endforeach()
    add_custom_target(${name}_libraries DEPENDS ${libraries})
    add_dependencies(${name} ${name}_libraries)
    target_link_libraries(${name} INTERFACE ${libraries})
endfunction()
