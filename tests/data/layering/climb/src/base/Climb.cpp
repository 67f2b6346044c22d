// Climbing out of the include roots.
#include "../app/StartUp.h"
