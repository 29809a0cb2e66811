// The whole math library, namespace NMATHF.
#pragma once

#include "math/vec.h"
#include "math/matrix.h"
#include "math/geometry.h"
