#pragma once
// The readout formats live with the parameter catalogue in the core.
#include "core/params/Readout.h"
