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

add_library(package_lib STATIC package/paths.cpp package/setup_description.cpp)
target_include_directories(package_lib PUBLIC package)
target_compile_options(package_lib PRIVATE ${RUNTIME_FLAGS})

add_library(setup_lib STATIC
    setup/setup_window.cpp
    setup/default_locations.cpp
    setup/install.cpp)
target_include_directories(setup_lib PUBLIC setup)
target_compile_options(setup_lib PRIVATE ${RUNTIME_FLAGS})
target_link_libraries(setup_lib PUBLIC package_lib comctl32 ole32 uuid shell32 advapi32 lz32)

add_executable(Setup WIN32 setup/main.cpp resources/setup.rc)
target_include_directories(Setup PRIVATE resources)
target_compile_options(Setup PRIVATE ${RUNTIME_FLAGS})
target_link_options(Setup PRIVATE ${RUNTIME_LINK})
target_link_libraries(Setup PRIVATE setup_lib)

if(WRENFIELD_TESTS)
    include(cmake/windows-tests.cmake)
endif()
