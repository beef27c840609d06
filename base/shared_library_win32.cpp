// Win32 implementation of SharedLibrary over LoadLibraryA.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <utility>

#include "base/shared_library.h"

SharedLibrary::~SharedLibrary() {
    close();
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

SharedLibrary SharedLibrary::open(const std::string& name) {
    HMODULE module = LoadLibraryA(name.c_str());
    // Module handles of 32 or less are the old error codes of LoadLibrary; never a module.
    if (reinterpret_cast<std::uintptr_t>(module) <= 32)
        return SharedLibrary();
    return SharedLibrary(module);
}

bool SharedLibrary::isMapped(const std::string& name) {
    return GetModuleHandleA(name.c_str()) != nullptr;
}

void* SharedLibrary::symbol(const char* name) const {
    if (!handle_)
        return nullptr;
    FARPROC proc = GetProcAddress(static_cast<HMODULE>(handle_), name);
    // Copied, not cast: a function pointer is not a data pointer to the compiler.
    void* address = nullptr;
    static_assert(sizeof address == sizeof proc, "function and data pointers differ in size");
    std::memcpy(&address, &proc, sizeof address);
    return address;
}

void SharedLibrary::close() {
    if (handle_)
        FreeLibrary(static_cast<HMODULE>(std::exchange(handle_, nullptr)));
}
