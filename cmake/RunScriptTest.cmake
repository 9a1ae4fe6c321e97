# cmake -DWINE_RUN=<scripts/wine-run> -DSCRIPT=<file.vbs> -P RunScriptTest.cmake
# Runs the script with cscript under Wine; passes only when its last output
# line is exactly "OK".
string(REPLACE "/" "\\" win_script "Z:${SCRIPT}")
execute_process(
    COMMAND ${WINE_RUN} cscript //nologo ${win_script}
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    RESULT_VARIABLE rc)
message("${out}")
if(err)
    message("${err}")
endif()
string(REPLACE "\r" "" out "${out}")
string(STRIP "${out}" stripped)
string(REGEX REPLACE "^.*\n" "" last "${stripped}")
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cscript exited with ${rc}")
endif()
if(NOT last STREQUAL "OK")
    message(FATAL_ERROR "last line of the script's output is \"${last}\", not \"OK\"")
endif()
