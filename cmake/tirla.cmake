# tirla_library(NAME GLOBS pattern... [DEPS target...])
# One library per module group. Sources are found by pattern, so a module grows by adding
# files; a group with no sources yet is an interface library.
function(tirla_library name)
  cmake_parse_arguments(ARG "" "" "GLOBS;DEPS" ${ARGN})
  set(patterns)
  foreach(p IN LISTS ARG_GLOBS)
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${p})
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  list(FILTER sources EXCLUDE REGEX "_main\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/fontes/tradutor)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/fontes/tradutor)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# tirla_keep_libraries(TARGET): under the sanitizers, libraries loaded at run time stay loaded
# to the end, so that leak reports name them (tests/sanitize/keep_libraries.cpp).
function(tirla_keep_libraries name)
  if(TIRLA_SANITIZE)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/sanitize/keep_libraries.cpp)
  endif()
endfunction()

# tirla_program(NAME SOURCE file DEPS target... [DESTINATION folder]): installed in the
# binaries folder unless DESTINATION names another.
function(tirla_program name)
  cmake_parse_arguments(ARG "" "SOURCE;DESTINATION" "DEPS" ${ARGN})
  if(NOT ARG_DESTINATION)
    set(ARG_DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SOURCE})
    add_executable(${name} ${ARG_SOURCE})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    tirla_keep_libraries(${name})
    add_dependencies(${name} tirla_data)
    install(TARGETS ${name} RUNTIME DESTINATION ${ARG_DESTINATION})
  endif()
endfunction()

# tirla_tests(NAME DEPS target...): every .cpp of the current test folder in one runner, with
# the test kit (tests/support).
function(tirla_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} tirla_test_support GTest::gtest GTest::gtest_main
    GTest::gmock)
  tirla_keep_libraries(${name})
  target_compile_definitions(${name} PRIVATE
    TIRLA_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TIRLA_BUILD_DIR="${PROJECT_BINARY_DIR}")
  add_dependencies(${name} tirla_data)
  # No display, no sound card, and the build tree's configuration: the runner is started
  # through env(1), since a list of variables does not survive test discovery.
  set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR
    env SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
    TOLVAN_WINDIR=${PROJECT_BINARY_DIR}/etc/tolvan ${TIRLA_TEST_ENV})
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TIMEOUT 300)
endfunction()
