// The named property list, kept in insertion order.
#include "base/properties.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/platform.h"

namespace {

struct Property {
    std::string name;  // at most kPropertyNameLength characters
    void* value;
};

std::unique_ptr<std::vector<Property>>& list() {
    static std::unique_ptr<std::vector<Property>> entries;
    return entries;
}

char kEmpty[1] = "";

std::string storedName(const char* name) {
    return std::string(name, strnlen(name, kPropertyNameLength));
}

}  // namespace

void* setProperty(const char* name, void* pointer) {
    auto& entries = list();
    if (!entries)
        entries = std::make_unique<std::vector<Property>>();
    if (!name || !*name) {
        entries.reset();
        return kEmpty;
    }
    const std::string key = storedName(name);
    for (Property& p : *entries) {
        if (p.name == key) {
            void* old = p.value;
            p.value = pointer;
            return old;
        }
    }
    entries->push_back({key, pointer});
    return nullptr;
}

void* property(const char* name) {
    const auto& entries = list();
    if (!entries || !name)
        return kEmpty;
    const std::string key = storedName(name);
    for (const Property& p : *entries) {
        if (p.name == key)
            return p.value;
    }
    return kEmpty;
}

void removeProperty(const char* name, char kind) {
    auto& entries = list();
    if (!name || !*name) {
        entries.reset();
        return;
    }
    if (!entries)
        return;
    for (auto it = entries->begin(); it != entries->end(); ++it) {
        if (it->name != name)
            continue;
        void* value = it->value;
        if (kind == 'C') {
            delete[] static_cast<char*>(value);
        } else if (kind == 'O') {
            if (value)
                platform::deleteGdiObject(value);
        } else if (kind != 'P') {
            return;  // unknown kinds leave the entry in place
        }
        entries->erase(it);
        return;
    }
}
