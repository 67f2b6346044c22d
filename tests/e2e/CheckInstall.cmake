# SPDX-License-Identifier: MIT
# The install step into a staging prefix puts the udev rule where udev reads it under /usr.
#   -DBUILD=<build tree> -DSTAGE=<empty folder>
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${STAGE}/usr
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${output}")
endif()
set(rule ${STAGE}/usr/lib/udev/rules.d/70-printer-settings.rules)
if(NOT EXISTS ${rule})
    message(FATAL_ERROR "no udev rule at ${rule}: ${output}")
endif()
file(STRINGS ${rule} lines REGEX "^SUBSYSTEM==\"usbmisc\", KERNEL==\"lp\\[0-9\\]\\*\", TAG\\+=\"uaccess\"$")
if(NOT lines)
    message(FATAL_ERROR "${rule} does not tag the usblp nodes with uaccess")
endif()
