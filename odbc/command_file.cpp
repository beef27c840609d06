#include "odbc/command_file.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/file_platform.h"
#include "base/files.h"

namespace {

// Well below the path limit, with room for the temporary folder in front.
constexpr std::size_t kNameCap = 120;
const char kSuffix[] = ".sql";

bool keptAsIs(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

uint64_t fnv1a(const std::string& text) {
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string commandFileName(const std::string& dataSource) {
    std::string body;
    for (unsigned char c : dataSource) {
        if (keptAsIs(c)) {
            body += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            body += escaped;
        }
    }
    if (body.size() + sizeof kSuffix - 1 > kNameCap) {
        char hash[20];
        std::snprintf(hash, sizeof hash, "~%016llx", static_cast<unsigned long long>(fnv1a(dataSource)));
        std::size_t keep = kNameCap - (sizeof kSuffix - 1) - (sizeof hash - 3);
        // An escape is never split.
        while (keep > 0 && body.rfind('%', keep - 1) != std::string::npos && body.rfind('%', keep - 1) + 3 > keep)
            --keep;
        body = body.substr(0, keep) + hash;
    }
    return body + kSuffix;
}

std::string dataSourceFromCommandFile(const std::string& fileName) {
    std::size_t suffix = sizeof kSuffix - 1;
    if (fileName.size() < suffix || fileName.compare(fileName.size() - suffix, suffix, kSuffix) != 0)
        return std::string();
    std::string name;
    for (std::size_t at = 0; at + suffix < fileName.size(); ++at) {
        char c = fileName[at];
        if (c == '%' && at + 2 + suffix < fileName.size() && hexValue(fileName[at + 1]) >= 0 &&
            hexValue(fileName[at + 2]) >= 0) {
            name += static_cast<char>(hexValue(fileName[at + 1]) * 16 + hexValue(fileName[at + 2]));
            at += 2;
        } else if (keptAsIs(static_cast<unsigned char>(c))) {
            name += c;
        } else {
            return std::string();  // a cut name ends with its hash
        }
    }
    return name;
}

std::string commandFilePath(const std::string& dataSource) {
    std::string base = platform::tempDirectory();
    char separator = base.empty() ? '/' : base.back();
    return base + "Quarrow" + separator + commandFileName(dataSource);
}

std::string loadCommandText(const std::string& dataSource) {
    files file(commandFilePath(dataSource).c_str());
    if (!file.openFile(platform::kGenericRead, platform::kShareRead, platform::kOpenExisting, 0))
        return std::string();
    std::string text(kCommandFileLimit, '\0');
    uint32_t got = 0;
    if (!file.read(&text[0], static_cast<uint32_t>(text.size()), &got))
        got = 0;
    file.closeFile();
    text.resize(got);
    return text;
}

bool saveCommandText(const std::string& dataSource, const std::string& text) {
    std::string path = commandFilePath(dataSource);
    // A source that never had a command leaves no file behind.
    if (text.empty() && !platform::fileExists(path.c_str()))
        return true;
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::string fresh = path + ".new";
    bool written = false;
    {
        files file(fresh.c_str());
        if (file.openFile(platform::kGenericWrite, 0, platform::kCreateAlways, 0)) {
            uint32_t put = 0;
            written = text.empty() ||
                      (file.write(text.data(), static_cast<uint32_t>(text.size()), &put) && put == text.size());
            written = file.closeFile() && written;
        }
    }
    if (!written) {
        platform::deleteFile(fresh.c_str());
        return false;
    }
    // A rename does not replace a file on every system: the old one steps aside until the new one
    // has its name, and comes back when that fails.
    std::string old = path + ".old";
    bool hadOld = platform::fileExists(path.c_str());
    if (hadOld) {
        platform::deleteFile(old.c_str());
        if (!platform::renameFile(path.c_str(), old.c_str())) {
            platform::deleteFile(fresh.c_str());
            return false;
        }
    }
    if (!platform::renameFile(fresh.c_str(), path.c_str())) {
        if (hadOld)
            platform::renameFile(old.c_str(), path.c_str());
        platform::deleteFile(fresh.c_str());
        return false;
    }
    if (hadOld)
        platform::deleteFile(old.c_str());
    return true;
}
