#pragma once
// The command line as UTF-8 and standard streams that carry bytes unchanged, on every platform.
// On Windows the arguments are read as wide characters (the narrow ones would pass through the
// ANSI code page and lose what it cannot hold, a full-width space among them) and the streams are
// switched to binary, so output is UTF-8 with LF line ends as elsewhere.

#include <string>
#include <vector>

namespace qivara::cli {

// The arguments after the program's name, UTF-8.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Call before the first read or write of stdin, stdout or stderr.
void UseByteStreams();

}  // namespace qivara::cli
