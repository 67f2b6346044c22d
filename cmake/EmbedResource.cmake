# ps_embed_resources(TARGET NAME FILE [NAME FILE ...]): carries the files inside TARGET as byte
# arrays; the generated source defines ps::FindEmbeddedResource over exactly these names, so the
# data is always linked in with its accessor.
function(ps_embed_resources target)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded_resources.cpp")
    set(args "")
    set(deps "")
    set(pairs ${ARGN})
    while(pairs)
        list(POP_FRONT pairs name file)
        get_filename_component(abs "${file}" ABSOLUTE)
        list(APPEND args "${name}=${abs}")
        list(APPEND deps "${abs}")
    endwhile()
    string(REPLACE ";" "|" argtext "${args}")
    add_custom_command(
        OUTPUT "${out}"
        COMMAND ${CMAKE_COMMAND} "-DRESOURCES=${argtext}" -DOUTPUT=${out}
                -P ${PROJECT_SOURCE_DIR}/cmake/GenerateResource.cmake
        DEPENDS ${deps} ${PROJECT_SOURCE_DIR}/cmake/GenerateResource.cmake
        COMMENT "Embedding resources")
    target_sources(${target} PRIVATE "${out}")
    # The rule belongs to this directory; a target here carries it, so a library created in a
    # parent directory still gets the generated source before it compiles.
    add_custom_target(${target}_embedded_resources DEPENDS "${out}")
    add_dependencies(${target} ${target}_embedded_resources)
endfunction()
