# Windows build: the setup program, and with WRENFIELD_TESTS its tests under Wine.
enable_language(RC)
option(WRENFIELD_TESTS "Build the Windows tests and run them under Wine" OFF)

# Size is a goal: small code, no exceptions or RTTI, static and stripped.
set(RUNTIME_FLAGS -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -Wall -Wextra)
set(RUNTIME_LINK -static -s -mwindows)

# The product whose setup program this build makes.
set(PRODUCT_MANIFEST ${CMAKE_SOURCE_DIR}/products/fernwickhold/product.toml
    CACHE FILEPATH "The product manifest")
get_filename_component(PRODUCT_DIR ${PRODUCT_MANIFEST} DIRECTORY)
set(PRODUCT_BINARY_DIR ${CMAKE_BINARY_DIR}/product)
if(EXISTS ${PRODUCT_DIR}/CMakeLists.txt)
    # Builds the product's own payload files into PRODUCT_BINARY_DIR.
    add_subdirectory(${PRODUCT_DIR} ${PRODUCT_BINARY_DIR})
endif()

# The host tools that make the payload (szdd, wrenfield-manifest).
set(HOST_TOOLS_DIR "" CACHE PATH "Folder of the host tools built by the host build")
if(NOT EXISTS ${HOST_TOOLS_DIR}/szdd)
    message(FATAL_ERROR "HOST_TOOLS_DIR must name the host build's bin folder (with szdd)")
endif()
set(SZDD_TOOL ${HOST_TOOLS_DIR}/szdd)

add_library(package_lib STATIC package/paths.cpp package/resources.cpp package/folder_guard.cpp)
target_include_directories(package_lib PUBLIC package)
target_link_libraries(package_lib PUBLIC lz32 shell32)
target_compile_options(package_lib PRIVATE ${RUNTIME_FLAGS})

add_library(uninstall_lib STATIC
    uninstall/phases.cpp
    uninstall/registry_cleanup.cpp
    uninstall/folder_cleanup.cpp
    uninstall/self_removal.cpp)
target_include_directories(uninstall_lib PUBLIC uninstall)
target_compile_options(uninstall_lib PRIVATE ${RUNTIME_FLAGS})
target_link_libraries(uninstall_lib PUBLIC package_lib shell32 advapi32)

add_executable(Uninst WIN32 uninstall/main.cpp resources/uninstall.rc)
target_include_directories(Uninst PRIVATE resources)
target_compile_options(Uninst PRIVATE ${RUNTIME_FLAGS})
target_link_options(Uninst PRIVATE ${RUNTIME_LINK})
target_link_libraries(Uninst PRIVATE uninstall_lib)

set(SETUP_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/setup/setup_window.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/setup/default_locations.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/setup/install.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/setup/deploy.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/setup/shortcuts.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/setup/register.cpp)
include(cmake/setup-program.cmake)
add_setup_program(Setup ${PRODUCT_MANIFEST} BUILT_DIR ${PRODUCT_BINARY_DIR})

if(WRENFIELD_TESTS)
    include(cmake/windows-tests.cmake)
endif()
