# Writes the module-definition file of a DLL from its import library: every function
# the import library names, so that a delay-loading library made from it leaves none
# to the compiler's default libraries (which would import it again at start-up).
#   cmake -DNM=nm -DIMPORT_LIBRARY=libX.a -DDLL=X.dll -DOUTPUT=X.def -P make_def.cmake
execute_process(COMMAND ${NM} ${IMPORT_LIBRARY} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${NM} could not read ${IMPORT_LIBRARY}")
endif()
string(REGEX MATCHALL " I __imp_[^ \r\n]+" imports "${symbols}")
list(TRANSFORM imports REPLACE "^ I __imp_" "")
list(REMOVE_DUPLICATES imports)
list(SORT imports)
if(NOT imports)
    message(FATAL_ERROR "${IMPORT_LIBRARY} names no function")
endif()
list(JOIN imports "\n" exports)
file(WRITE ${OUTPUT} "LIBRARY ${DLL}\nEXPORTS\n${exports}\n")
