// Command-line argument rules of the shell.
#include "app/command_line.h"

#include "copy/file_paths.h"

std::string unquoteArgument(const char* commandLine) {
    std::string argument = commandLine ? commandLine : "";
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
        argument = argument.substr(1, argument.size() - 2);
    return argument;
}

ArgumentKind classifyArgument(const std::string& argument) {
    size_t dot = argument.rfind('.');
    if (dot == std::string::npos)
        return ArgumentKind::None;
    // Whole extensions only: ".B", ".PEG" or ".DB" name neither a picture nor a table.
    std::string extension = argument.substr(dot);
    if (isInExtensionList(extension, kPictureFileTypes))
        return ArgumentKind::Picture;
    if (isInExtensionList(extension, "DBF"))
        return ArgumentKind::Table;
    return ArgumentKind::None;
}

std::string picturePath(const std::string& argument, const std::string& currentDirectory) {
    if (argument.find('\\') != std::string::npos)
        return argument;
    return currentDirectory + "\\" + argument;
}
