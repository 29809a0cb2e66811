#include "math/dyn_array.h"

#include "platform/fail.h"

namespace NMATHF {

void dyn_array_out_of_bounds() { RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "DYN_ARRAY"); }

}  // namespace NMATHF
