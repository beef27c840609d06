// Command-line argument rules of the shell.
#include "app/command_line.h"

#include <cctype>

std::string unquoteArgument(const char* commandLine) {
    std::string argument = commandLine ? commandLine : "";
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
        argument = argument.substr(1, argument.size() - 2);
    return argument;
}

ArgumentKind classifyArgument(const std::string& argument) {
    size_t dot = argument.rfind('.');
    std::string extension = dot == std::string::npos ? argument : argument.substr(dot);
    for (char& c : extension)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (extension.empty())
        return ArgumentKind::None;
    if (std::string(".JPG;.JPEG;.GIF;.BMP;.EMF").find(extension) != std::string::npos)
        return ArgumentKind::Picture;
    if (std::string(".DBF").find(extension) != std::string::npos)
        return ArgumentKind::Table;
    return ArgumentKind::None;
}

std::string picturePath(const std::string& argument, const std::string& currentDirectory) {
    if (argument.find('\\') != std::string::npos)
        return argument;
    return currentDirectory + "\\" + argument;
}
