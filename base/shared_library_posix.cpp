// POSIX implementation of SharedLibrary over dlopen.
#include <dlfcn.h>

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
    // RTLD_LOCAL keeps the symbols of one driver manager from answering for another's.
    return SharedLibrary(dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL));
}

bool SharedLibrary::isMapped(const std::string& name) {
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return false;
    dlclose(handle);
    return true;
}

void* SharedLibrary::symbol(const char* name) const {
    return handle_ ? dlsym(handle_, name) : nullptr;
}

void SharedLibrary::close() {
    if (handle_)
        dlclose(std::exchange(handle_, nullptr));
}
