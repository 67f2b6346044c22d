# ps_add_ui_test(NAME SOURCES... LIBS ...): a GoogleTest executable that opens the real windows
# on Qt's offscreen platform, registered with CTest under the label "ui".
include(GoogleTest)
function(ps_add_ui_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} ps_ui_test_support ps_warnings)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT
                         "PS_SOURCE_DIR=${PROJECT_SOURCE_DIR};QT_QPA_PLATFORM=offscreen"
                         LABELS ui)
endfunction()
