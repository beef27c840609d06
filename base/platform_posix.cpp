// POSIX implementation of the small platform services.
#include "base/platform.h"

namespace platform {

void deleteGdiObject(void*) {}

}  // namespace platform
