# ps_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
include(GoogleTest)
function(ps_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} ps_test_support GTest::gtest GTest::gmock
                                          GTest::gtest_main ps_warnings)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "PS_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
