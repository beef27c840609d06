// Small platform services the portable core needs, with a Win32 and a POSIX implementation.
// Larger services (files and locks, code pages, shared libraries) have headers of their own.
#pragma once

namespace platform {

// Deletes a GDI object handle; a no-op where there is no GDI.
void deleteGdiObject(void* object);

}  // namespace platform
