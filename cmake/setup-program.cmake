# add_setup_program(NAME MANIFEST [BUILT_DIR dir] [DAMAGED id...])
# Makes NAME.exe, the setup program of the product that MANIFEST describes:
# the manifest tool writes its description and payload script, szdd
# compresses each payload file and the uninstaller, windres embeds them.
# Also defines NAME_lib, the setup program's functions for that product,
# which the tests link. BUILT_DIR holds the product's built payload files
# (made by its target product_payload). DAMAGED cuts the named resources
# short after compression, for tests of a failed expansion.
function(add_setup_program name manifest)
    cmake_parse_arguments(ARG "" "BUILT_DIR" "DAMAGED" ${ARGN})
    set(gen ${CMAKE_BINARY_DIR}/generated/${name})
    file(MAKE_DIRECTORY ${gen})

    # Generated when configuring, so that the payload's rows are known to CMake;
    # a refused manifest stops the build here with the tool's message.
    execute_process(
        COMMAND ${HOST_TOOLS_DIR}/wrenfield-manifest generate ${manifest} ${gen}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${output}")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${manifest})
    include(${gen}/payload.cmake)

    set(packed)
    foreach(id ${PAYLOAD_IDS})
        if(DEFINED PAYLOAD_${id}_BUILT)
            set(source ${ARG_BUILT_DIR}/${PAYLOAD_${id}_BUILT})
            set(depends ${source} product_payload)
        else()
            set(source ${PAYLOAD_${id}_SOURCE})
            set(depends ${source})
        endif()
        string(LENGTH "${PAYLOAD_${id}_NAME}" length)
        math(EXPR last "${length} - 1")
        string(SUBSTRING "${PAYLOAD_${id}_NAME}" ${last} 1 lastChar)
        set(damage)
        if(id IN_LIST ARG_DAMAGED)
            set(damage COMMAND truncate -s 20 ${gen}/${id}.szdd)
        endif()
        add_custom_command(OUTPUT ${gen}/${id}.szdd
            COMMAND ${SZDD_TOOL} compress ${source} ${gen}/${id}.szdd --last-char ${lastChar}
            ${damage}
            DEPENDS ${depends} ${SZDD_TOOL}
            VERBATIM)
        list(APPEND packed ${gen}/${id}.szdd)
    endforeach()
    add_custom_command(OUTPUT ${gen}/292.szdd
        COMMAND ${SZDD_TOOL} compress $<TARGET_FILE:Uninst> ${gen}/292.szdd --last-char e
        DEPENDS Uninst ${SZDD_TOOL}
        VERBATIM)
    list(APPEND packed ${gen}/292.szdd)
    set_source_files_properties(${gen}/payload.rc PROPERTIES OBJECT_DEPENDS "${packed}")

    add_library(${name}_lib STATIC
        ${SETUP_SOURCES}
        ${gen}/setup_description.cpp)
    target_include_directories(${name}_lib PUBLIC setup ${gen})
    target_compile_options(${name}_lib PRIVATE ${RUNTIME_FLAGS})
    target_link_libraries(${name}_lib PUBLIC package_lib comctl32 ole32 uuid shell32 advapi32 lz32)

    add_executable(${name} WIN32 setup/main.cpp resources/setup.rc ${gen}/payload.rc)
    target_include_directories(${name} PRIVATE resources ${gen})
    target_compile_options(${name} PRIVATE ${RUNTIME_FLAGS})
    target_link_options(${name} PRIVATE ${RUNTIME_LINK})
    target_link_libraries(${name} PRIVATE ${name}_lib)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${name})

    set(${name}_PRODUCT_KEY ${PRODUCT_KEY} PARENT_SCOPE)
endfunction()
