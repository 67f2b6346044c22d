// base's POSIX shim may not.
#include <Windows.h>
