#pragma once
// The readout formats live with the parameter catalogue in the core.
#include "params/Readout.h"
