// A shared library loaded at run time by name (LoadLibraryA / dlopen), move-only.
#pragma once

#include <string>

class SharedLibrary {
  public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Loads the library; an empty object when it cannot be loaded.
    static SharedLibrary open(const std::string& name);
    // True while the process has the library named `name` mapped (a test aid: shows a real unload).
    static bool isMapped(const std::string& name);

    bool loaded() const { return handle_ != nullptr; }
    // Address of an exported symbol, null when the library does not export it.
    void* symbol(const char* name) const;
    // Frees the library; the object becomes empty.
    void close();

  private:
    explicit SharedLibrary(void* handle) : handle_(handle) {}
    void* handle_ = nullptr;
};
