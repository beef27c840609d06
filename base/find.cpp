// The platform-neutral half of the file-system queries.
#include "base/find.h"

#include <cctype>
#include <cstring>

bool isPictureFileName(const char* name) {
    static const char* const kExtensions[] = {".JPG", ".JPEG", ".GIF", ".BMP", ".EMF"};
    std::string upper(name ? name : "");
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const char* extension : kExtensions) {
        size_t length = std::strlen(extension);
        if (upper.size() >= length && upper.compare(upper.size() - length, length, extension) == 0)
            return true;
    }
    return false;
}

int fileExists(const char* pattern) {
    return static_cast<int>(findFiles(pattern).size());
}

std::vector<FoundFile> listPictureFiles(const char* pattern) {
    std::vector<FoundFile> pictures;
    for (FoundFile& file : findFiles(pattern)) {
        if (isPictureFileName(file.name.c_str()))
            pictures.push_back(std::move(file));
    }
    return pictures;
}
