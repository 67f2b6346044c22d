# ps_add_test(NAME SOURCES... LIBS ... [LABELS ...]): one GoogleTest executable registered with
# CTest. Tests that run Qt carry the label "ui": Qt is not built with the sanitizers, so the
# ThreadSanitizer run leaves them out (ctest -LE ui).
include(GoogleTest)
function(ps_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} ps_test_support GTest::gtest GTest::gmock
                                          GTest::gtest_main ps_warnings)
    set(properties ENVIRONMENT "PS_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
    if(ARG_LABELS)
        list(APPEND properties LABELS "${ARG_LABELS}")
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()
