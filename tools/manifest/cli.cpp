// wrenfield-manifest: check a product manifest, or generate the files the
// Windows build compiles from it.
#include "cli.h"

#include "generate.h"
#include "manifest.h"
#include "output.h"

namespace wrenfield::manifest {
namespace {

constexpr char kUsage[] =
    "usage: wrenfield-manifest check MANIFEST\n"
    "       wrenfield-manifest generate MANIFEST OUTDIR\n"
    "generate writes setup_rows.h, setup_description.cpp, payload.rc and payload.cmake\n"
    "into OUTDIR, or nothing at all when the manifest is refused.\n";

int UsageError(std::ostream& err, const std::string& message) {
    err << "wrenfield-manifest: " << message << "\n" << kUsage;
    return kExitUsage;
}

int Refused(std::ostream& err, const std::string& message) {
    err << "wrenfield-manifest: " << message << "\n";
    return kExitRefused;
}

int Check(const std::string& path, std::ostream& out, std::ostream& err) {
    Manifest m;
    Problem problem;
    if (!Load(path, m, problem)) return Refused(err, problem.Message());
    out << path << ": ok: " << m.name << ": payload rows " << m.files.size() << ", registry rows "
        << m.registry.size() << ", obsolete files " << m.obsoleteFiles.size() << "\n";
    return kExitOk;
}

int GenerateInto(const std::string& path, const std::string& outDir, std::ostream& err) {
    Manifest m;
    Problem problem;
    if (!Load(path, m, problem)) return Refused(err, problem.Message());
    std::string error;
    if (!WriteFiles(outDir, Generate(m), error)) return Refused(err, error);
    return kExitOk;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return UsageError(err, "no command given");
    const std::string& command = args[0];
    if (command == "-h" || command == "--help" || command == "help") {
        out << kUsage;
        return kExitOk;
    }
    if (command == "check") {
        if (args.size() != 2) return UsageError(err, "check takes one manifest");
        return Check(args[1], out, err);
    }
    if (command == "generate") {
        if (args.size() != 3) return UsageError(err, "generate takes a manifest and an output folder");
        return GenerateInto(args[1], args[2], err);
    }
    return UsageError(err, "unknown command '" + command + "'");
}

}  // namespace wrenfield::manifest
