// Win32 implementation of the small platform services.
#include <windows.h>

#include "base/platform.h"

namespace platform {

void deleteGdiObject(void* object) {
    DeleteObject(static_cast<HGDIOBJ>(object));
}

}  // namespace platform
