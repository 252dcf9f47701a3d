# Shared target helpers. A library folder holds include/<name>/*.h (public) and
# src/*.cpp (private); a test folder holds *.cpp files built into one executable.

add_library(brumil_warnings INTERFACE)
target_compile_options(brumil_warnings INTERFACE -Wall -Wextra)
if(BRUMIL_WERROR)
  target_compile_options(brumil_warnings INTERFACE -Werror)
endif()
# GCC 12's optimiser reports out-of-bounds and overlapping accesses inside
# inlined std::string and std::vector code where none exist; they would bury
# real warnings, so these families are off for that compiler.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(brumil_warnings INTERFACE
    -Wno-restrict -Wno-stringop-overflow -Wno-stringop-overread)
endif()

# The leak checker's suppressions of library leaks, linked into every program
# (the game, the tools that play and every test). An object library, because a
# symbol in a static library would be dropped as unreferenced.
add_library(brumil_leak_suppressions OBJECT ${CMAKE_CURRENT_LIST_DIR}/leak_suppressions.cpp)

# brumil_library(<target> [DIR <dir>] [DEPS <public deps>...] [PRIVATE_DEPS <deps>...])
function(brumil_library target)
  cmake_parse_arguments(A "" "DIR" "DEPS;PRIVATE_DEPS" ${ARGN})
  if(NOT A_DIR)
    set(A_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${A_DIR}/src/*.cpp)
  if(NOT srcs)
    # Header-only until its first source lands.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${A_DIR}/include)
    target_link_libraries(${target} INTERFACE ${A_DEPS})
    return()
  endif()
  add_library(${target} STATIC ${srcs})
  target_include_directories(${target} PUBLIC ${A_DIR}/include PRIVATE ${A_DIR}/src)
  target_link_libraries(${target} PUBLIC ${A_DEPS} PRIVATE ${A_PRIVATE_DEPS} brumil_warnings)
endfunction()

# brumil_test(<target> DEPS <libraries>...): every *.cpp of the current folder
# (not of its sub-folders, which may hold test executables of their own), linked
# with GoogleTest; each test case is registered with ctest.
function(brumil_test target)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${target} ${srcs})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  target_link_libraries(${target} PRIVATE ${A_DEPS} brumil_leak_suppressions brumil_test_support GTest::gtest GTest::gtest_main GTest::gmock brumil_warnings)
  include(GoogleTest)
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST)
  brumil_discovered_test_properties(${target}
    ENVIRONMENT SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy BRUMIL_HEADLESS=1)
endfunction()

# brumil_discovered_test_properties(<target> ENVIRONMENT <VAR=value>...
#                                   [FIXTURES_REQUIRED <fixture>])
# Sets properties on every test gtest_discover_tests found in <target> (call
# after it). The discovery's own PROPERTIES pass a list as separate
# arguments, so an ENVIRONMENT of several variables would fall apart into
# bogus properties and drop what follows; ctest reads this file after the
# discovery's and sets each list whole.
function(brumil_discovered_test_properties target)
  cmake_parse_arguments(A "" "FIXTURES_REQUIRED" "ENVIRONMENT" ${ARGN})
  set(props "ENVIRONMENT [==[${A_ENVIRONMENT}]==]")
  if(A_FIXTURES_REQUIRED)
    string(APPEND props " FIXTURES_REQUIRED ${A_FIXTURES_REQUIRED}")
  endif()
  set(file "${CMAKE_CURRENT_BINARY_DIR}/${target}_properties.cmake")
  file(WRITE "${file}"
    "if(${target}_TESTS)\n  set_tests_properties(\${${target}_TESTS} PROPERTIES ${props})\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${file}")
endfunction()

# Adds every sub-folder of the current folder that has a CMakeLists.txt.
macro(brumil_add_subfolders)
  file(GLOB _children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(_child ${_children})
    if(IS_DIRECTORY ${_child} AND EXISTS ${_child}/CMakeLists.txt)
      add_subdirectory(${_child})
    endif()
  endforeach()
endmacro()
