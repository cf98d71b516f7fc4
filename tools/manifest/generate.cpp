// Writing the generated files' texts. They are plain text with fixed layouts,
// so that a change to a manifest shows up as a readable diff of its outputs.
#include "generate.h"

#include <cstdio>

namespace wrenfield::manifest {
namespace {

// Returns the manifest's file name as it may appear inside a generated comment.
std::string CommentSafe(std::string_view text) {
    std::string out;
    for (unsigned char c : text) out += c >= 0x20 && c <= 0x7E ? char(c) : '_';
    return out;
}

std::string Generated(const Manifest& m) { return "generated from " + CommentSafe(m.fileName) + ", do not edit."; }

std::string CString(std::string_view text) { return "\"" + EscapeC(text) + "\""; }

std::string CMakeString(std::string_view text) { return "\"" + EscapeCMake(text) + "\""; }

// Returns a braced initializer of items on one line at indent, or one item per line when
// the line would be too wide; either way followed by ",\n".
std::string Column(size_t indent, const std::vector<std::string>& items) {
    const std::string pad(indent, ' ');
    std::string line = pad + "{";
    for (size_t i = 0; i < items.size(); ++i) line += (i ? ", " : "") + items[i];
    line += "},";
    if (line.size() <= kMaxLineWidth) return line + "\n";

    std::string out = pad + "{";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out += ",\n" + pad + " ";
        out += items[i];
    }
    return out + "},\n";
}

std::string RowsHeader(const Manifest& m) {
    return "// Row counts of the setup description: " + Generated(m) + "\n" +
           "#pragma once\n"
           "\n"
           "enum { PayloadRowCount = " + std::to_string(m.files.size()) +
           ", RegistryRowCount = " + std::to_string(m.registry.size()) +
           ", ObsoleteFileCount = " + std::to_string(m.obsoleteFiles.size()) + " };\n";
}

std::string Description(const Manifest& m) {
    std::vector<std::string> ids, names, shortcuts, roots, keys, values, obsolete;
    for (const PayloadRow& row : m.files) {
        ids.push_back(std::to_string(row.id));
        names.push_back(CString(row.name));
        shortcuts.push_back(CString(row.shortcut));
    }
    for (const RegistryRow& row : m.registry) {
        roots.push_back(CString(row.root));
        keys.push_back(CString(row.key));
        values.push_back(CString(row.value));
    }
    for (const std::string& name : m.obsoleteFiles) obsolete.push_back(CString(name));
    // The header sizes the array for at least one row: C++ has no empty arrays.
    if (obsolete.empty()) obsolete.push_back(CString(""));

    std::string out = "// The setup description of " + m.name + ": " + Generated(m) + "\n";
    out += "#include \"setup_description.h\"\n";
    out += "\n";
    out += "const SetupDescription Description = {\n";
    out += "    " + CString(m.name) + ",\n";
    out += "    " + CString(m.folder) + ",\n";
    out += "    " + CString(m.windowTitle) + ",\n";
    out += "    " + CString(m.windowClass) + ",\n";
    out += "    {\n" + Column(8, ids) + Column(8, names) + Column(8, shortcuts) + "    },\n";
    out += "    {\n" + Column(8, roots) + Column(8, keys) + Column(8, values) + "    },\n";
    out += Column(4, obsolete);
    out += "    " + CString(m.launchParameters) + ",\n";
    out += "    " + std::to_string(m.mainFile) + ",\n";
    out += "    " + std::to_string(m.launchFile) + ",\n";
    out += "};\n";
    return out;
}

std::string ResourceScript(const Manifest& m) {
    std::string out = "// The payload resources of " + m.name + ": " + Generated(m) + "\n";
    out += "LANGUAGE 9, 1\n";  // LANG_ENGLISH, SUBLANG_ENGLISH_US
    for (const PayloadRow& row : m.files) {
        const std::string id = std::to_string(row.id);
        out += id + " FILES \"" + id + ".szdd\"\n";
    }
    const std::string uninstaller = std::to_string(kUninstallerId);
    out += uninstaller + " UNINST \"" + uninstaller + ".szdd\"\n";
    return out;
}

std::string BuildSettings(const Manifest& m) {
    std::string out = "# The payload of " + m.name + ": " + Generated(m) + "\n";
    out += "set(PRODUCT_KEY " + CMakeString(m.productKey) + ")\n";
    out += "set(PRODUCT_NAME " + CMakeString(m.name) + ")\n";
    out += "set(PRODUCT_VERSION " + CMakeString(m.version) + ")\n";
    out += "set(PRODUCT_PUBLISHER " + CMakeString(m.publisher) + ")\n";
    out += "set(PAYLOAD_IDS";
    for (const PayloadRow& row : m.files) out += " " + std::to_string(row.id);
    out += ")\n";
    for (const PayloadRow& row : m.files) {
        const std::string prefix = "set(PAYLOAD_" + std::to_string(row.id);
        if (row.built.empty()) {
            out += prefix + "_SOURCE " + CMakeString(row.source) + ")\n";
        } else {
            out += prefix + "_BUILT " + CMakeString(row.built) + ")\n";
        }
        out += prefix + "_NAME " + CMakeString(row.name) + ")\n";
    }
    return out;
}

}  // namespace

std::string EscapeC(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\\' || c == '"' || c == '?') {
            out += '\\';
            out += char(c);
        } else if (c >= 0x20 && c <= 0x7E) {
            out += char(c);
        } else {
            // Always three digits, so that a following digit is not taken into the escape.
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", c);
            out += octal;
        }
    }
    return out;
}

std::string EscapeCMake(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '$': out += "\\$"; break;
            case ';': out += "\\;"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out;
}

std::vector<GeneratedFile> Generate(const Manifest& manifest) {
    return {
        {kRowsHeaderName, RowsHeader(manifest)},
        {kDescriptionName, Description(manifest)},
        {kResourceScriptName, ResourceScript(manifest)},
        {kBuildSettingsName, BuildSettings(manifest)},
    };
}

}  // namespace wrenfield::manifest
