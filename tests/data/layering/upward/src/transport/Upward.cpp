// A transport file that reaches up into the scheme.
#include "scheme/Scheme3.h"
