// The Win32 backend may use the Win32 API.
#include <windows.h>
#include <winspool.h>
