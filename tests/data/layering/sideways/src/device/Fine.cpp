// The device functions may use the checks before an action.
#include "maintenance/ActionChecks.h"
#include "scheme/Scheme3.h"
