# Windows tests: GoogleTest cross-compiled, run under Wine through wine-run.
set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(WINE_ARCH win64)
    set(WINE_LOADER /usr/lib/wine/wine64)
else()
    set(WINE_ARCH win32)
    set(WINE_LOADER /usr/lib/wine/wine)
endif()
set(WINE_SERVER /usr/lib/wine/wineserver)
configure_file(cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# The setup program as shipped (the i686 build), checked as a file.
set(SHIPPED_SETUP "" CACHE FILEPATH "The shipped Setup.exe whose resources the tests check")
set(SHIPPED_UNINST "" CACHE FILEPATH "The shipped Uninst.exe whose resources the tests check")

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_library(test_support STATIC tests/support/windriver.cpp tests/support/fixtures.cpp
    tests/support/machine.cpp)
target_include_directories(test_support PUBLIC tests/support)
target_link_libraries(test_support PUBLIC gtest ole32 uuid shell32)

# The compressor, built for Windows so that the platform's LZ32 can judge its output.
add_library(szdd_win STATIC tools/szdd/szdd.cpp tools/szdd/compress.cpp tools/szdd/match_finder.cpp)
target_include_directories(szdd_win PUBLIC tools/szdd)

# A small SZDD file for the test program's own package resources.
set(FIXTURE_ORIGINAL ${CMAKE_CURRENT_SOURCE_DIR}/resources/setup.ico)
set(FIXTURE_DIR ${CMAKE_BINARY_DIR}/fixtures)
add_custom_command(OUTPUT ${FIXTURE_DIR}/fixture.szdd
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FIXTURE_DIR}
    COMMAND ${SZDD_TOOL} compress ${FIXTURE_ORIGINAL} ${FIXTURE_DIR}/fixture.szdd --last-char o
    DEPENDS ${FIXTURE_ORIGINAL} ${SZDD_TOOL})
set_source_files_properties(tests/win/package_test.rc PROPERTIES
    OBJECT_DEPENDS ${FIXTURE_DIR}/fixture.szdd)

# Functions of the programs, called directly.
add_executable(win_tests
    tests/win/paths_test.cpp
    tests/win/default_locations_test.cpp
    tests/win/package_resources_test.cpp
    tests/win/shipped_setup_test.cpp
    tests/win/package_test.rc)
target_include_directories(win_tests PRIVATE ${FIXTURE_DIR})
target_compile_definitions(win_tests PRIVATE
    WRENFIELD_FIXTURE_SZDD="${FIXTURE_DIR}/fixture.szdd"
    WRENFIELD_FIXTURE_ORIGINAL="${FIXTURE_ORIGINAL}")
target_link_libraries(win_tests PRIVATE Setup_lib szdd_win test_support gtest_main version)
target_link_options(win_tests PRIVATE -static)

# The uninstaller's functions (a program of their own: both programs have a Caption).
add_executable(uninstall_tests tests/win/uninstall_test.cpp)
target_link_libraries(uninstall_tests PRIVATE uninstall_lib test_support gtest_main)
target_link_options(uninstall_tests PRIVATE -static)

add_executable(link_tests tests/win/link_test.cpp)
target_link_libraries(link_tests PRIVATE package_lib test_support gtest_main)
target_link_options(link_tests PRIVATE -static)
add_test(NAME RemoveFolderTree.Links
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/with-links.sh
                 ${CMAKE_BINARY_DIR}/wine-run $<TARGET_FILE:link_tests>)
set_tests_properties(RemoveFolderTree.Links PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120)

# Yes to the restart question, in a prefix of its own.
add_executable(restart_tests tests/restart/restart_test.cpp)
target_link_libraries(restart_tests PRIVATE test_support gtest_main)
target_link_options(restart_tests PRIVATE -static)
add_dependencies(restart_tests Uninst product_payload)
add_test(NAME Restart.YesRestartsTheMachineAfterTheCleanup
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/restart/in-own-prefix.sh
                 ${CMAKE_BINARY_DIR}/wine-run ${CMAKE_BINARY_DIR}/restart-prefix
                 $<TARGET_FILE:restart_tests>)
set_tests_properties(Restart.YesRestartsTheMachineAfterTheCleanup PROPERTIES TIMEOUT 600)

# The real programs, driven through their windows.
file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${E2E_SOURCES})
target_link_libraries(e2e_tests PRIVATE test_support gtest_main)
target_link_options(e2e_tests PRIVATE -static)
add_dependencies(e2e_tests Setup TinkerboxSetup BrokenboxSetup Uninst)
target_link_libraries(e2e_tests PRIVATE ole32 uuid shell32)

# Two more products for the end-to-end tests.
add_setup_program(TinkerboxSetup ${CMAKE_CURRENT_SOURCE_DIR}/tests/products/tinkerbox/product.toml)
add_setup_program(BrokenboxSetup ${CMAKE_CURRENT_SOURCE_DIR}/tests/products/brokenbox/product.toml
                  DAMAGED 601)

# Where the programs under test are, as Linux paths.
target_compile_definitions(test_support PUBLIC
    WRENFIELD_SETUP="$<TARGET_FILE:Setup>"
    WRENFIELD_TINKERBOX_SETUP="$<TARGET_FILE:TinkerboxSetup>"
    WRENFIELD_BROKENBOX_SETUP="$<TARGET_FILE:BrokenboxSetup>"
    WRENFIELD_UNINST="$<TARGET_FILE:Uninst>"
    WRENFIELD_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
    WRENFIELD_SHIPPED_SETUP="${SHIPPED_SETUP}"
    WRENFIELD_SHIPPED_UNINST="${SHIPPED_UNINST}"
    WRENFIELD_PRODUCT_BINARY_DIR="${PRODUCT_BINARY_DIR}")
if(TARGET product_payload)
    add_dependencies(e2e_tests product_payload)
endif()

add_test(NAME wine.start COMMAND ${CMAKE_BINARY_DIR}/wine-run --start)
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine)
add_test(NAME wine.stop COMMAND ${CMAKE_BINARY_DIR}/wine-run --stop)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)

foreach(suite win_tests uninstall_tests e2e_tests)
    gtest_discover_tests(${suite}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120
        PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120)
endforeach()
