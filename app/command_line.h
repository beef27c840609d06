// The one file argument of the command line: unquoting and what kind of file it names.
#pragma once

#include <string>

enum class ArgumentKind { None, Picture, Table };

// The argument with one pair of enclosing double quotes removed (only when it both starts and ends
// with one).
std::string unquoteArgument(const char* commandLine);

// The extension is the text from the last '.', compared case-blind. It names a picture when it is
// one of .JPG, .JPEG, .GIF, .BMP, .EMF, a table when it is .DBF.
ArgumentKind classifyArgument(const std::string& argument);

// The picture viewer's file: the argument when it holds a backslash, else `currentDirectory`,
// a backslash and the argument.
std::string picturePath(const std::string& argument, const std::string& currentDirectory);
