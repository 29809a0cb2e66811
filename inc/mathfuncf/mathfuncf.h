// The whole math library, namespace NMATHF.
#pragma once

#include "mathfuncf/vec.h"
#include "mathfuncf/matrix.h"
#include "mathfuncf/geometry.h"
