// All-or-nothing writing of the generated files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "generate.h"

namespace wrenfield::manifest {

// Writes files into folder, creating the folder when needed. Each file is written
// under a temporary name in the folder; only when all are complete are they renamed
// into place, so a failure leaves no partial file. On failure returns false and
// sets error (naming the path).
bool WriteFiles(const std::filesystem::path& folder, const std::vector<GeneratedFile>& files, std::string& error);

}  // namespace wrenfield::manifest
