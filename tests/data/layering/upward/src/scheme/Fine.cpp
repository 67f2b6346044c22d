// Within its own layer and below: allowed.
#include "base/IniFile.h"
#include "scheme/Scheme3.h"
