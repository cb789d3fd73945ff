#pragma once
// Kept for older includes: the one little-endian helper lives with the link.
#include "core/link/LittleEndian.h"
