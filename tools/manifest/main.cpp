// wrenfield-manifest: see cli.h.
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"

int main(int argc, char** argv) {
    return wrenfield::manifest::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
