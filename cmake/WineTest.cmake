# Tests that run under Wine through the cross-compiling emulator (scripts/wine-run).
#
# qev_wine_test(NAME <name> SOURCES <files...> [LIBRARY <Library>]
#               [LIBS <targets/libs...>] [TIMEOUT <seconds, default 60>]
#               [RESOURCE_LOCK <names...>] [LABELS <labels...>])
#   A doctest program bin/<name>.exe with tests/support/test_main.cpp (OLE
#   initialised, crash boxes off). Links ole32 oleaut32 uuid user32 gdi32
#   advapi32, and <Library>_iids when LIBRARY names the control library whose
#   generated header (#include "<Library>.h") the test uses. Only that one:
#   the libraries' type libraries share names (GeneralProp, IndicatorStyle,
#   ...), so two IID targets in one program clash or resolve a class id to
#   the wrong library. Runs in bin/, labelled "wine" and with the name of its
#   folder (ctest -L knob).
#   Every TIMEOUT is multiplied by QEV_TIMEOUT_SCALE.
#   Tests that register or unregister a library, and tests that need the
#   libraries registered, take RESOURCE_LOCK registry; a test that unregisters
#   registers again before it ends.
#
# qev_script_test(NAME <name> SCRIPT <file.vbs> [TIMEOUT <seconds, default 60>]
#                 [RESOURCE_LOCK <names...>] [LABELS <labels...>])
#   Runs `cscript //nologo <script>` under Wine; passes only when the script's
#   last output line is exactly "OK" (cscript hides run-time errors and exits 0).
#   Scripts use the registered libraries: RESOURCE_LOCK registry is implied.
#   Labelled "wine", "script" and with the name of its folder.

set(QEV_WINE_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QEV_DOCTEST_INCLUDE_DIR /usr/include/doctest)
if(NOT EXISTS ${QEV_DOCTEST_INCLUDE_DIR}/doctest.h)
    message(FATAL_ERROR "doctest.h is missing: run scripts/setup")
endif()
# <doctest/doctest.h> without putting the host's /usr/include on the path.
set(QEV_DOCTEST_SHIM ${CMAKE_BINARY_DIR}/doctest-include)
file(MAKE_DIRECTORY ${QEV_DOCTEST_SHIM})
file(CREATE_LINK ${QEV_DOCTEST_INCLUDE_DIR} ${QEV_DOCTEST_SHIM}/doctest SYMBOLIC)

function(_qev_test_main_target)
    if(NOT TARGET qev_test_main)
        add_library(qev_test_main STATIC ${CMAKE_SOURCE_DIR}/tests/support/test_main.cpp)
        target_include_directories(qev_test_main PUBLIC ${QEV_DOCTEST_SHIM} ${QEV_DOCTEST_INCLUDE_DIR})
        target_compile_definitions(qev_test_main PUBLIC DOCTEST_CONFIG_NO_MULTITHREADING)
        target_link_libraries(qev_test_main PUBLIC ole32 oleaut32 uuid user32 gdi32 advapi32)
    endif()
endfunction()

function(qev_wine_test)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "" "NAME;TIMEOUT;LIBRARY" "SOURCES;LIBS;RESOURCE_LOCK;LABELS")
    if(NOT ARG_NAME OR NOT ARG_SOURCES)
        message(FATAL_ERROR "qev_wine_test(NAME <name> SOURCES <files...>)")
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 60)
    endif()
    math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * ${QEV_TIMEOUT_SCALE}")
    _qev_test_main_target()
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    # The IID libraries are looked up when the whole tree is configured, so a
    # test may sit in a folder that is added before the library's own.
    set_property(GLOBAL APPEND PROPERTY QEV_WINE_TESTS ${ARG_NAME})
    set_property(TARGET ${ARG_NAME} PROPERTY QEV_IID_LIBRARY "${ARG_LIBRARY}")
    target_link_libraries(${ARG_NAME} PRIVATE qev_test_main ${ARG_LIBS})
    target_link_options(${ARG_NAME} PRIVATE -static-libgcc -static-libstdc++)
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set_tests_properties(${ARG_NAME} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT} LABELS "wine;${folder};${ARG_LABELS}")
    if(ARG_RESOURCE_LOCK)
        set_tests_properties(${ARG_NAME} PROPERTIES RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
    endif()
endfunction()

function(qev_script_test)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "" "NAME;SCRIPT;TIMEOUT" "RESOURCE_LOCK;LABELS")
    if(NOT ARG_NAME OR NOT ARG_SCRIPT)
        message(FATAL_ERROR "qev_script_test(NAME <name> SCRIPT <file.vbs>)")
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 60)
    endif()
    math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * ${QEV_TIMEOUT_SCALE}")
    get_filename_component(script ${ARG_SCRIPT} ABSOLUTE)
    add_test(NAME ${ARG_NAME}
        COMMAND ${CMAKE_COMMAND} -DWINE_RUN=${CMAKE_CROSSCOMPILING_EMULATOR} -DSCRIPT=${script}
            -P ${QEV_WINE_TEST_DIR}/RunScriptTest.cmake
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    list(APPEND ARG_RESOURCE_LOCK registry)
    list(REMOVE_DUPLICATES ARG_RESOURCE_LOCK)
    set_tests_properties(${ARG_NAME} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT} LABELS "wine;script;${folder};${ARG_LABELS}"
        RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
endfunction()

# Called once at the end of the top-level CMakeLists.txt: links every test
# and benchmark program with the <Library>_iids target of the library it
# names (property QEV_IID_LIBRARY; qev_wine_test's LIBRARY), and makes it
# depend on every control library (tests load them from bin/ at run time).
function(qev_finish_wine_tests)
    get_property(tests GLOBAL PROPERTY QEV_WINE_TESTS)
    get_property(benches GLOBAL PROPERTY QEV_BENCH_PROGRAMS)
    list(APPEND tests ${benches})
    get_property(libraries GLOBAL PROPERTY QEV_CONTROL_LIBRARIES)
    foreach(t IN LISTS tests)
        get_property(library TARGET ${t} PROPERTY QEV_IID_LIBRARY)
        if(library)
            if(NOT TARGET ${library}_iids)
                message(FATAL_ERROR "${t}: no control library ${library} (LIBRARY ${library})")
            endif()
            target_link_libraries(${t} PRIVATE ${library}_iids)
        endif()
        if(libraries)
            add_dependencies(${t} ${libraries})
        endif()
    endforeach()
endfunction()
