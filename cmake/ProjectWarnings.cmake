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
    if(MINGW AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        # mingw-w64's GCC 12 reports buffer overruns inside libstdc++'s own string and vector
        # code that cannot happen (GCC bugs 105329, 105651); the Linux build keeps these checks.
        target_compile_options(ps_warnings INTERFACE -Wno-restrict -Wno-stringop-overflow
                                                     -Wno-stringop-overread -Wno-array-bounds)
    endif()
endif()
