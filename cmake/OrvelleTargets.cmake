# orvelle_add_resources(<target>): the viewer's resource script (texts, pictures,
# menus, dialogs, icon, version) compiled into a Windows executable. It goes into
# each executable because the linker drops resources inside static libraries.
function(orvelle_add_resources target)
  if(NOT WIN32)
    return()
  endif()
  target_sources(${target} PRIVATE ${ORVELLE_RC})
  add_dependencies(${target} orvelle_texts)
  set_source_files_properties(${ORVELLE_RC} TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${ORVELLE_RC_DEPENDS}"
    INCLUDE_DIRECTORIES "${CMAKE_BINARY_DIR}/generated;${CMAKE_SOURCE_DIR}/resources;${CMAKE_SOURCE_DIR}")
endfunction()

# orvelle_add_test(<name> SOURCES <files>... [WINDOWS_ONLY] [LIBS <libs>...])
# A GoogleTest program. Portable tests build natively and for Windows; WINDOWS_ONLY
# ones only for Windows. Under Wine every process start costs a Wine start-up, so
# there one CTest test runs a whole program; natively each case is its own test.
# Windows test programs carry the viewer's resources (texts, pictures, dialogs).
function(orvelle_add_test name)
  cmake_parse_arguments(arg "WINDOWS_ONLY" "" "SOURCES;LIBS" ${ARGN})
  if(arg_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  if(WIN32)
    add_executable(${name} ${arg_SOURCES})
    orvelle_add_resources(${name})
    target_link_libraries(${name} PRIVATE orvelle_win orvelle_test_support ${arg_LIBS} GTest::gmock GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 FIXTURES_REQUIRED wine RESOURCE_LOCK display)
  else()
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE orvelle_core ${arg_LIBS} GTest::gmock GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 300)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE ORVELLE_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
endfunction()

# orvelle_add_fuzzer(<name> <source>): a libFuzzer target, built with ORVELLE_FUZZ.
function(orvelle_add_fuzzer name source)
  if(NOT ORVELLE_FUZZ OR WIN32)
    return()
  endif()
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE orvelle_core ${ARGN})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
