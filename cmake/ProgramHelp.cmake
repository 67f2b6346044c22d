# SPDX-License-Identifier: MIT
# ps_program_help(TARGET HELP_FILE): compiles HELP_FILE into TARGET as ps::help::kText, the
# text --help prints, with the project's version as ps::help::kVersion (header
# "ProgramHelp.h"). tools/man/make-man turns the same file into the manual page.
function(ps_program_help target help)
    get_filename_component(help "${help}" ABSOLUTE)
    file(READ "${help}" PS_HELP_TEXT)
    if(PS_HELP_TEXT MATCHES "\\)ps_help\"")
        message(FATAL_ERROR "${help} holds the end mark of the string it is compiled into")
    endif()
    set(dir "${CMAKE_CURRENT_BINARY_DIR}/${target}-help")
    file(CONFIGURE OUTPUT "${dir}/ProgramHelp.h" @ONLY CONTENT [=[
// Generated from @help@ at configure time; do not edit.
#pragma once

#include <string_view>

namespace ps::help {

inline constexpr std::string_view kText = R"ps_help(@PS_HELP_TEXT@)ps_help";
inline constexpr std::string_view kVersion = "@PROJECT_VERSION@";

}  // namespace ps::help
]=])
    # An edited help text configures again.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${help}")
    target_include_directories(${target} PRIVATE "${dir}")
endfunction()
