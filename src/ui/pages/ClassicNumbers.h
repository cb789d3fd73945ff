#pragma once
// The locale guard lives in the core, beside the number formats that need it.
#include "core/text/ClassicNumbers.h"
