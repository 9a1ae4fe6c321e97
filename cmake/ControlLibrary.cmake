# qev_control_library(NAME <Name> SOURCES <files...>)
#
# Builds the ActiveX control library <Name>.dll from the calling directory's
# <Name>.idl, <Name>.rc and <Name>.def plus SOURCES:
#  - widl writes into ${CMAKE_BINARY_DIR}/gen/<Name>/: <Name>.tlb, <Name>.h,
#    <Name>_i.c (IIDs, CLSIDs, LIBID), <Name>_p.c and dlldata.c (merged proxies,
#    entry points PrxDllGetClassObject, PrxDllCanUnloadNow, PrxDllRegisterServer,
#    PrxDllUnregisterServer, PrxDllMain);
#  - the .rc is compiled with the source and gen folders on its include path
#    (`1 TYPELIB "<Name>.tlb"`, .rgs, .bmp and manifest files);
#  - the DLL links framework and common (as a group, since framework calls back
#    into fw::LibraryInfo() and the Prx* entry points) and the system libraries;
#  - after linking, the LIBID of the type library, the imports and the exports
#    are checked (cmake/check_control_library.py).
# Also defines <Name>_iids: a static library of <Name>_i.c whose users get the
# gen folder on their include path (#include "<Name>.h").

set(QEV_CONTROL_LIBRARY_DIR ${CMAKE_CURRENT_LIST_DIR})

if(NOT QEV_TOOL_PREFIX)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(QEV_TOOL_PREFIX x86_64-w64-mingw32)
    else()
        set(QEV_TOOL_PREFIX i686-w64-mingw32)
    endif()
endif()
find_program(QEV_WIDL ${QEV_TOOL_PREFIX}-widl REQUIRED)
find_program(QEV_OBJDUMP ${QEV_TOOL_PREFIX}-objdump REQUIRED)
find_program(QEV_PYTHON python3 REQUIRED)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QEV_WIDL_ARCH --win64)
    set(QEV_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
else()
    set(QEV_WIDL_ARCH --win32)
    set(QEV_STDOLE_DIR /usr/lib/i386-linux-gnu/wine/i386-windows)
endif()
set(QEV_IDL_INCLUDE_DIR /usr/include/wine/wine/windows)
if(NOT EXISTS ${QEV_STDOLE_DIR}/stdole2.tlb OR NOT EXISTS ${QEV_IDL_INCLUDE_DIR}/oaidl.idl)
    message(FATAL_ERROR "stdole2.tlb or the IDL import files are missing: run scripts/setup")
endif()

function(qev_control_library)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "" "NAME" "SOURCES")
    if(NOT ARG_NAME OR NOT ARG_SOURCES)
        message(FATAL_ERROR "qev_control_library(NAME <Name> SOURCES <files...>)")
    endif()
    set(name ${ARG_NAME})
    set(src ${CMAKE_CURRENT_SOURCE_DIR})
    set(gen ${CMAKE_BINARY_DIR}/gen/${name})
    foreach(ext idl rc def)
        if(NOT EXISTS ${src}/${name}.${ext})
            message(FATAL_ERROR "qev_control_library(${name}): ${src}/${name}.${ext} is missing")
        endif()
    endforeach()
    file(MAKE_DIRECTORY ${gen})

    # IDL imports of the folder's own files rebuild everything too.
    file(GLOB idl_inputs CONFIGURE_DEPENDS ${src}/*.idl ${src}/*.acf)
    set(widl ${QEV_WIDL} ${QEV_WIDL_ARCH} -Oif -I ${QEV_IDL_INCLUDE_DIR} -I ${src} -L ${QEV_STDOLE_DIR})
    set(outputs ${gen}/${name}.tlb ${gen}/${name}.h ${gen}/${name}_i.c ${gen}/${name}_p.c ${gen}/dlldata.c)
    add_custom_command(
        OUTPUT ${outputs}
        COMMAND ${widl} -t -o ${gen}/${name}.tlb ${src}/${name}.idl
        COMMAND ${widl} -h -o ${gen}/${name}.h ${src}/${name}.idl
        COMMAND ${widl} -u -o ${gen}/${name}_i.c ${src}/${name}.idl
        COMMAND ${widl} -p -o ${gen}/${name}_p.c ${src}/${name}.idl
        COMMAND ${widl} --dlldata-only -o ${gen}/dlldata.c ${name}
        DEPENDS ${idl_inputs}
        WORKING_DIRECTORY ${gen}
        COMMENT "widl ${name}.idl"
        VERBATIM)
    add_custom_target(${name}_idl DEPENDS ${outputs})

    add_library(${name}_iids STATIC ${gen}/${name}_i.c)
    target_include_directories(${name}_iids PUBLIC ${gen})
    add_dependencies(${name}_iids ${name}_idl)
    set_property(GLOBAL APPEND PROPERTY QEV_IID_TARGETS ${name}_iids)
    set_property(GLOBAL APPEND PROPERTY QEV_CONTROL_LIBRARIES ${name})

    set(proxy_sources ${gen}/${name}_p.c ${gen}/dlldata.c)
    set_source_files_properties(${proxy_sources} PROPERTIES
        COMPILE_DEFINITIONS "PROXY_DELEGATION;REGISTER_PROXY_DLL;ENTRY_PREFIX=Prx"
        COMPILE_OPTIONS "-include;${QEV_CONTROL_LIBRARY_DIR}/proxy-prelude.h")

    # windres does not report what a .rc pulls in: rebuild it on any change of
    # the type library or of the folder's resource files.
    file(GLOB rc_inputs CONFIGURE_DEPENDS
        ${src}/*.rgs ${src}/*.bmp ${src}/*.ico ${src}/*.cur ${src}/*.manifest ${src}/*.h
        ${src}/*.rc ${src}/*.rc2 ${src}/*.dlg)
    set_source_files_properties(${src}/${name}.rc PROPERTIES
        OBJECT_DEPENDS "${gen}/${name}.tlb;${rc_inputs}")

    add_library(${name} SHARED ${ARG_SOURCES} ${src}/${name}.rc ${src}/${name}.def
        ${proxy_sources} ${gen}/${name}.h)
    set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
    target_include_directories(${name} PRIVATE ${src} ${gen})
    add_dependencies(${name} ${name}_idl)

    set(group)
    foreach(lib framework common)
        if(TARGET ${lib})
            list(APPEND group ${lib})
        endif()
    endforeach()
    list(APPEND group ${name}_iids)
    list(JOIN group "," group)
    target_link_libraries(${name} PRIVATE "$<LINK_GROUP:RESCAN,${group}>"
        ole32 oleaut32 uuid rpcrt4 gdi32 user32 advapi32 comctl32)
    target_link_options(${name} PRIVATE -Wl,--kill-at -static-libgcc -static-libstdc++)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        # The .def names the entry points undecorated; _DllGetClassObject@12 is meant.
        target_link_options(${name} PRIVATE -Wl,--enable-stdcall-fixup)
    endif()

    add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${QEV_PYTHON} ${QEV_CONTROL_LIBRARY_DIR}/check_control_library.py
            --idl ${src}/${name}.idl --tlb ${gen}/${name}.tlb
            --dll $<TARGET_FILE:${name}> --objdump ${QEV_OBJDUMP}
        COMMENT "check ${name}.dll: LIBID, imports, exports"
        VERBATIM)
endfunction()
