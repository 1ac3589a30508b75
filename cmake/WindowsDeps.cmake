# What the Windows build takes from Debian: GoogleTest built from its
# sources, and nlohmann-json's headers, which serve any target. The Linux
# include folder itself must not reach the MinGW compiler (its C headers would
# shadow MinGW's), so the JSON headers are reached through a folder of their own.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gmock ALIAS gmock)
endif()

set(quorvel_json_include ${CMAKE_BINARY_DIR}/third_party/include)
file(MAKE_DIRECTORY ${quorvel_json_include})
file(CREATE_LINK /usr/include/nlohmann ${quorvel_json_include}/nlohmann SYMBOLIC)
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${quorvel_json_include})
add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
