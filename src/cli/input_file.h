#pragma once
// What the tool checks of a file or folder named on its command line before anything runs,
// so that every refusal names the real reason: a FIFO or a device is never opened (the
// tool would wait on it for ever), a folder is not "no such file", and a BARS.INI saved
// as UTF-16 is not "no view".

#include <string>

namespace zadeve::cli {

enum class Emptiness { Refused, Allowed };

// Why `path` cannot be read as a text file, in words ("is a folder, not a file"); empty
// when it can. A configuration file must also be non-empty and in a single-byte encoding
// (ANSI or UTF-8): the profile functions read nothing else.
std::string inputFileProblem(const std::string& path, Emptiness empty = Emptiness::Refused);
std::string configurationFileProblem(const std::string& path);

// The whole of a file the checks above passed; empty when it can no longer be read. It
// never waits: a FIFO put in the file's place since is refused, not opened.
std::string readInputFile(const std::string& path);

// A folder as the library joins it with a file name: with a separator at its end.
std::string withSeparator(std::string dir);

// Why `path` cannot serve as a folder of files to read; empty when it can.
std::string inputFolderProblem(const std::string& path);

}  // namespace zadeve::cli
