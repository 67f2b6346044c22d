// Nor may the Linux backend.
#include <winsock2.h>
