// The scheme uses the layers below it.
#include <vector>

#include "localisation/Scheme.h"
#include "printer/Globals.h"
#include "transport/ThreadRWPrinter.h"
