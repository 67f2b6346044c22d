# SPDX-License-Identifier: MIT
# ps_include_root(TARGET FOLDER [NAME name]): gives TARGET an include root of its own that holds
# only FOLDER, reachable as "<name>/..." (name defaults to the folder's last component). A layer
# sees the roots of the layers it links and nothing else, so an include from a layer above fails
# to compile.
function(ps_include_root target folder)
    cmake_parse_arguments(ARG "" "NAME" "" ${ARGN})
    get_filename_component(abs "${folder}" ABSOLUTE)
    if(ARG_NAME)
        set(name "${ARG_NAME}")
    else()
        get_filename_component(name "${abs}" NAME)
    endif()
    set(root "${PROJECT_BINARY_DIR}/include-roots/${target}")
    file(MAKE_DIRECTORY "${root}")
    if(NOT EXISTS "${root}/${name}")
        file(CREATE_LINK "${abs}" "${root}/${name}" SYMBOLIC COPY_ON_ERROR)
    endif()
    get_target_property(kind ${target} TYPE)
    if(kind STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE "${root}")
    else()
        target_include_directories(${target} PUBLIC "${root}")
    endif()
endfunction()
