// base's Win32 shim may use the Win32 API.
#include <windows.h>
