// The Linux backend may call Linux.
#include <unistd.h>

#include "platform/Platform.h"
