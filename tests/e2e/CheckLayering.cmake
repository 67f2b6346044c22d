# SPDX-License-Identifier: MIT
# Runs the layering check on a tree and compares its outcome with the expected one:
#   -DCHECK=<CheckLayers.cmake> -DROOT=<tree> -DEXPECT=pass|fail [-DMESSAGE=<text in the output>]
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${ROOT} -P ${CHECK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(all "${out}${err}")
if(EXPECT STREQUAL "pass" AND NOT rc EQUAL 0)
    message(FATAL_ERROR "the check failed on ${ROOT}:\n${all}")
elseif(EXPECT STREQUAL "fail" AND rc EQUAL 0)
    message(FATAL_ERROR "the check passed on ${ROOT}, which breaks the layering:\n${all}")
endif()
if(DEFINED MESSAGE AND NOT all MATCHES "${MESSAGE}")
    message(FATAL_ERROR "expected '${MESSAGE}' in:\n${all}")
endif()
