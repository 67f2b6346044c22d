# SPDX-License-Identifier: MIT
# Runs printer-settings-tool once and checks its exit code; optionally its standard output
# against a reviewed file or a single line, and its standard error for a text.
# -DTOOL=<tool> -DARGS=<arguments separated by |> -DEXPECT_RC=<n>
# [-DEXPECT_STDOUT=<file>] [-DEXPECT_LINE_SET=1 -DEXPECT_LINE=<text>] [-DEXPECT_STDERR=<text>]
# [-DACTUAL=<file the output is written to when it differs>]
cmake_minimum_required(VERSION 3.25)

string(REPLACE "|" ";" args "${ARGS}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=PRINTER_SETTINGS_EMULATION ${TOOL} ${args}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)

if(NOT rc EQUAL EXPECT_RC)
    message(FATAL_ERROR "exit code ${rc}, expected ${EXPECT_RC}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(EXPECT_STDOUT)
    file(READ "${EXPECT_STDOUT}" expected)
    if(NOT out STREQUAL expected)
        if(ACTUAL)
            file(WRITE "${ACTUAL}" "${out}")
        endif()
        message(FATAL_ERROR "standard output differs from ${EXPECT_STDOUT}; "
                            "compare with ${ACTUAL}")
    endif()
endif()
if(EXPECT_LINE_SET AND NOT out STREQUAL "${EXPECT_LINE}\n")
    message(FATAL_ERROR "printed '${out}', expected the line '${EXPECT_LINE}'")
endif()
if(EXPECT_STDERR)
    string(FIND "${err}" "${EXPECT_STDERR}" position)
    if(position EQUAL -1)
        message(FATAL_ERROR "standard error lacks '${EXPECT_STDERR}':\n${err}")
    endif()
endif()
