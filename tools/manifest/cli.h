// The wrenfield-manifest command line, callable in-process by the tests.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace wrenfield::manifest {

inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;  // the manifest was refused, or an output could not be written
inline constexpr int kExitUsage = 2;

// Runs one command (args without the program name); returns the exit code.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace wrenfield::manifest
