// An OS header above the platform.
#include <unistd.h>
