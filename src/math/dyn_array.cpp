#include "math/dyn_array.h"

#include "platform/fail.h"

namespace NMATHF {

void DYN_ARRAY_OUT_OF_BOUNDS() { FAIL(ERR_OUT_OF_BOUNDS, "DYN_ARRAY"); }

}  // namespace NMATHF
