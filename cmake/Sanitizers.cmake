# PS_SANITIZE: sanitizers compiled into every target of the build ("address,undefined",
# "address", "undefined" or "thread"; empty for none). Any finding stops the program, so a test
# that triggers one fails. PS_BUILD_FUZZERS adds libFuzzer's coverage instrumentation to every
# target too, so the fuzz targets link the ordinary libraries and still see their code.
set(PS_SANITIZE "" CACHE STRING "Sanitizers for every target: address,undefined | thread | empty")
set_property(CACHE PS_SANITIZE PROPERTY STRINGS "" "address,undefined" "address" "undefined"
                                                "thread")

if(PS_BUILD_FUZZERS AND NOT PS_SANITIZE)
    set(PS_SANITIZE "address,undefined")
endif()

if(PS_SANITIZE)
    if(MSVC)
        message(FATAL_ERROR "PS_SANITIZE is for gcc and clang")
    endif()
    string(REPLACE "," ";" ps_sanitizers "${PS_SANITIZE}")
    foreach(s IN LISTS ps_sanitizers)
        if(NOT s MATCHES "^(address|undefined|thread)$")
            message(FATAL_ERROR "PS_SANITIZE: unknown sanitizer '${s}'")
        endif()
    endforeach()
    if("thread" IN_LIST ps_sanitizers AND "address" IN_LIST ps_sanitizers)
        message(FATAL_ERROR "PS_SANITIZE: thread cannot be combined with address")
    endif()
    add_compile_options(-fsanitize=${PS_SANITIZE} -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${PS_SANITIZE})
    # gcc's flow analysis is confused by AddressSanitizer's checks and warns of uninitialised
    # values inside the standard library (<regex>); the warning stays visible but does not fail.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND "address" IN_LIST ps_sanitizers)
        target_compile_options(ps_warnings INTERFACE -Wno-error=maybe-uninitialized)
    endif()
    message(STATUS "Sanitizers: ${PS_SANITIZE}")
endif()

if(PS_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "PS_BUILD_FUZZERS needs clang (-DCMAKE_CXX_COMPILER=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
