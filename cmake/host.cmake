# Host build: tools and native tests.
find_package(GTest REQUIRED)
include(GoogleTest)

add_compile_options(-Wall -Wextra)
# The Windows builds find the host tools (szdd, wrenfield-manifest) here.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

add_executable(mkicon tools/mkicon/mkicon.cpp)

# The committed icon is what the generator draws.
add_test(NAME mkicon.reproduces_committed_icon
         COMMAND ${CMAKE_COMMAND} -DMKICON=$<TARGET_FILE:mkicon>
                 -DOUT=${CMAKE_CURRENT_BINARY_DIR}/setup.ico
                 -DEXPECTED=${CMAKE_CURRENT_SOURCE_DIR}/resources/setup.ico
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/check-icon.cmake)

add_subdirectory(tools/szdd)
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tools/manifest/CMakeLists.txt)
    add_subdirectory(tools/manifest)
endif()

# ./build itself, for a second product and for a refused manifest.
add_test(NAME build.another_product COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/build_test.sh)
set_tests_properties(build.another_product PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
