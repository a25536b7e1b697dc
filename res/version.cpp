// The version values are header-only; this unit keeps the res/ sources in the build.
#include "res/version.h"
