# Warning flags shared by every target of ours.
add_library(ps_warnings INTERFACE)
if(MSVC)
    target_compile_options(ps_warnings INTERFACE /W4)
    if(PS_WARNINGS_AS_ERRORS)
        target_compile_options(ps_warnings INTERFACE /WX)
    endif()
else()
    target_compile_options(ps_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                                                 -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
                                                 -Wimplicit-fallthrough)
    if(PS_WARNINGS_AS_ERRORS)
        target_compile_options(ps_warnings INTERFACE -Werror)
    endif()
endif()
