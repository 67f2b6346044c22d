# ps_add_test(NAME SOURCES... LIBS ... [LABELS ...]): one GoogleTest executable registered with
# CTest. Tests that run Qt carry the label "ui": Qt is not built with the sanitizers, so the
# ThreadSanitizer run leaves them out (ctest -LE ui). A cross build registers each executable
# once, run whole through CMAKE_CROSSCOMPILING_EMULATOR: under Wine every process start costs
# about a second, too much for one process per test case.
include(GoogleTest)
# The source tree as the tests see it: under Wine through its drive Z:, the host's root.
if(CMAKE_CROSSCOMPILING AND WIN32)
    set(PS_TEST_SOURCE_DIR "Z:${PROJECT_SOURCE_DIR}")
else()
    set(PS_TEST_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
endif()
function(ps_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} ps_test_support GTest::gtest GTest::gmock
                                          GTest::gtest_main ps_warnings)
    set(properties ENVIRONMENT "PS_SOURCE_DIR=${PS_TEST_SOURCE_DIR}")
    if(ARG_LABELS)
        list(APPEND properties LABELS "${ARG_LABELS}")
    endif()
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES ${properties})
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
    endif()
endfunction()
