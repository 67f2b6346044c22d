// Ink maintenance reaching into the device functions, which stand above it.
#include "device/DeviceQuery.h"
