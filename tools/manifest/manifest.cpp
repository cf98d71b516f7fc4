// Reading and validating product manifests. The first problem found is
// reported with the line of the node it is about; nothing is guessed or
// cut to fit.
#include "manifest.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <sstream>

namespace wrenfield::manifest {
namespace {

namespace fs = std::filesystem;

// Characters that no Windows file name holds; '\\' separates folders in installed names.
constexpr std::string_view kBadNameChars = "/*?\"<>|:";
constexpr std::string_view kBadSingleNameChars = "\\/*?\"<>|:";
constexpr std::string_view kDeviceNames[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                             "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                             "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

// The first problem, thrown from deep inside the checks and caught by Parse.
struct Refusal {
    long line;
    std::string reason;
};

// Returns the line where node begins, 0 when toml++ does not know it.
long LineOf(const toml::node* node) { return node ? long(node->source().begin.line) : 0; }

[[noreturn]] void Refuse(long line, std::string reason) { throw Refusal{line, std::move(reason)}; }
[[noreturn]] void Refuse(const toml::node* at, std::string reason) { Refuse(LineOf(at), std::move(reason)); }

// Returns text quoted for a message, with anything unprintable shown as \xNN.
std::string Show(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c >= 0x20 && c <= 0x7E) {
            out += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out + "\"";
}

// Returns the TOML name of a node's type, for "must be ..., not ..." messages.
const char* TypeName(toml::node_type type) {
    switch (type) {
        case toml::node_type::table: return "a table";
        case toml::node_type::array: return "an array";
        case toml::node_type::string: return "a string";
        case toml::node_type::integer: return "an integer";
        case toml::node_type::floating_point: return "a floating-point number";
        case toml::node_type::boolean: return "a boolean";
        case toml::node_type::date: return "a date";
        case toml::node_type::time: return "a time";
        case toml::node_type::date_time: return "a date-time";
        default: return "nothing";
    }
}

// ASCII-only case folding: the programs compare registry keys the same way.
bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    }
    return out;
}

// A table of the manifest and how messages name it ("[product]", "[[file]]").
struct Section {
    const toml::table& table;
    std::string label;
};

// Refuses the first key (in file order) of section that is not among known.
void CheckKeys(const Section& s, std::initializer_list<std::string_view> known) {
    const toml::key* unknown = nullptr;
    for (auto&& [key, node] : s.table) {
        if (std::find(known.begin(), known.end(), key.str()) != known.end()) continue;
        if (!unknown || key.source().begin.line < unknown->source().begin.line) unknown = &key;
    }
    if (unknown) {
        Refuse(long(unknown->source().begin.line), s.label + " has an unknown key '" + std::string(unknown->str()) + "'");
    }
}

// Returns the node of key in section; refuses when a required key is missing.
const toml::node* Find(const Section& s, std::string_view key, bool required) {
    const toml::node* node = s.table.get(key);
    if (!node && required) Refuse(&s.table, s.label + " has no '" + std::string(key) + "'");
    return node;
}

// Refuses node unless it is of the given type.
void RequireType(const Section& s, std::string_view key, const toml::node& node, toml::node_type type) {
    if (node.type() != type) {
        Refuse(&node, s.label + " " + std::string(key) + " must be " + TypeName(type) + ", not " + TypeName(node.type()));
    }
}

// Refuses text unless every byte is printable ASCII.
void CheckPrintable(const toml::node* at, const std::string& field, std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = text[i];
        if (c < 0x20 || c > 0x7E) {
            char detail[64];
            std::snprintf(detail, sizeof detail, "byte 0x%02X at character %zu", c, i + 1);
            Refuse(at, field + " " + Show(text) + " holds " + detail +
                           ": the programs take printable ASCII only (they use the ANSI code page)");
        }
    }
}

// Refuses text shorter than min or longer than max characters; why says what limits it.
void CheckLength(const toml::node* at, const std::string& field, std::string_view text, size_t min, size_t max,
                 const std::string& why) {
    if (text.size() < min) Refuse(at, field + " is empty");
    if (text.size() > max) {
        Refuse(at, field + " is " + std::to_string(text.size()) + " characters long; at most " + std::to_string(max) +
                       " fit (" + why + ")");
    }
}

// A printable text: the value of key, or "" when an optional key is absent.
struct Text {
    std::string value;
    const toml::node* node = nullptr;
};

Text ReadText(const Section& s, std::string_view key, bool required) {
    Text t;
    t.node = Find(s, key, required);
    if (!t.node) return t;
    RequireType(s, key, *t.node, toml::node_type::string);
    t.value = t.node->as_string()->get();
    CheckPrintable(t.node, s.label + " " + std::string(key), t.value);
    return t;
}

struct Integer {
    int64_t value = 0;
    const toml::node* node = nullptr;
};

Integer ReadInteger(const Section& s, std::string_view key) {
    Integer i;
    i.node = Find(s, key, true);
    RequireType(s, key, *i.node, toml::node_type::integer);
    i.value = i.node->as_integer()->get();
    return i;
}

// Refuses a name that Windows would take for a device whatever its extension ("NUL.txt").
void CheckNotDevice(const toml::node* at, const std::string& field, std::string_view text, std::string_view part) {
    std::string base = Upper(part.substr(0, part.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (std::string_view device : kDeviceNames) {
        if (base == device) {
            Refuse(at, field + " " + Show(text) + " names the device " + std::string(device) + " on Windows");
        }
    }
}

// Refuses one folder or file name that Windows would not create as written.
void CheckNamePart(const toml::node* at, const std::string& field, std::string_view text, std::string_view part) {
    if (part == "..") Refuse(at, field + " " + Show(text) + " has a '..' component, which leaves the install folder");
    if (part == ".") Refuse(at, field + " " + Show(text) + " has a '.' component");
    if (part.back() == '.' || part.back() == ' ') {
        Refuse(at, field + " " + Show(text) + " has a name ending in '" + part.back() +
                       "', which Windows drops from names");
    }
    CheckNotDevice(at, field, text, part);
}

// Refuses the first character of text found in bad.
void CheckChars(const toml::node* at, const std::string& field, std::string_view text, std::string_view bad) {
    size_t i = text.find_first_of(bad);
    if (i == std::string_view::npos) return;
    std::string reason = field + " " + Show(text) + " holds the character '" + text[i] + "', which Windows names cannot hold";
    if (text[i] == '/') reason += " (folders are separated by '\\')";
    Refuse(at, reason);
}

// Checks a single file or folder name: the product name, the proposed folder.
void CheckSingleName(const toml::node* at, const std::string& field, std::string_view text) {
    CheckChars(at, field, text, kBadSingleNameChars);
    CheckNamePart(at, field, text, text);
}

// Checks a name relative to the install folder: a payload or an obsolete file.
void CheckInstalledName(const toml::node* at, const std::string& field, std::string_view text) {
    CheckLength(at, field, text, 1, kMaxInstalledName,
                "the install folder may be " + std::to_string(kMaxInstallFolder) + " characters and a path " +
                    std::to_string(kMaxPath));
    if (text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':') {
        Refuse(at, field + " " + Show(text) + " starts with a drive letter; it must be relative to the install folder");
    }
    if (text.front() == '\\') {
        Refuse(at, field + " " + Show(text) + " starts with a backslash; it must be relative to the install folder");
    }
    CheckChars(at, field, text, kBadNameChars);
    if (text.back() == '\\') Refuse(at, field + " " + Show(text) + " ends with a backslash");
    for (size_t begin = 0;;) {
        size_t end = text.find('\\', begin);
        std::string_view part = text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
        if (part.empty()) Refuse(at, field + " " + Show(text) + " has an empty folder name (a doubled backslash)");
        CheckNamePart(at, field, text, part);
        if (end == std::string_view::npos) break;
        begin = end + 1;
    }
}

// Checks a registry key path below a root: setup and the uninstaller open it as given.
void CheckRegistryKey(const toml::node* at, const std::string& field, std::string_view key) {
    CheckLength(at, field, key, 1, kMaxRegistryText, "the programs hold it in 256 characters");
    if (key.front() == '\\' || key.back() == '\\' || key.find("\\\\") != std::string_view::npos) {
        Refuse(at, field + " " + Show(key) + " must not start or end with a backslash or double one");
    }
}

// Reads [product] into m; the row indexes are checked once the rows are known.
void ReadProduct(const toml::table& root, Manifest& m, Integer& mainFile, Integer& launchFile) {
    const toml::node* node = root.get("product");
    if (!node) Refuse(0L, "has no [product] table");
    if (!node->is_table()) Refuse(node, "product must be a table ([product]), not " + std::string(TypeName(node->type())));
    Section s{*node->as_table(), "[product]"};
    CheckKeys(s, {"name", "folder", "window_title", "window_class", "main_file", "launch_file", "launch_parameters",
                  "obsolete_files", "version", "publisher"});

    Text name = ReadText(s, "name", true);
    CheckLength(name.node, "[product] name", name.value, 1, kMaxProductName, "setup's messages hold it");
    CheckSingleName(name.node, "[product] name", name.value);  // it names the Start-menu folder
    m.name = name.value;

    Text folder = ReadText(s, "folder", true);
    CheckLength(folder.node, "[product] folder", folder.value, 1, kMaxShortName, "setup holds it in 16 characters");
    CheckSingleName(folder.node, "[product] folder", folder.value);
    m.folder = folder.value;

    Text title = ReadText(s, "window_title", true);
    CheckLength(title.node, "[product] window_title", title.value, 1, kMaxShortName, "setup holds it in 16 characters");
    m.windowTitle = title.value;

    Text windowClass = ReadText(s, "window_class", true);
    CheckLength(windowClass.node, "[product] window_class", windowClass.value, 1, kMaxShortName,
                "setup holds it in 16 characters");
    m.windowClass = windowClass.value;

    mainFile = ReadInteger(s, "main_file");
    launchFile = ReadInteger(s, "launch_file");

    Text parameters = ReadText(s, "launch_parameters", false);
    CheckLength(parameters.node, "[product] launch_parameters", parameters.value, 0, kMaxLaunchParameters,
                "setup holds them in 256 characters");
    m.launchParameters = parameters.value;

    if (const toml::node* list = Find(s, "obsolete_files", false)) {
        RequireType(s, "obsolete_files", *list, toml::node_type::array);
        for (const toml::node& item : *list->as_array()) {
            const std::string field = "[product] obsolete_files entry";
            if (!item.is_string()) Refuse(&item, field + " must be a string, not " + TypeName(item.type()));
            const std::string& text = item.as_string()->get();
            CheckPrintable(&item, field, text);
            CheckInstalledName(&item, field, text);
            m.obsoleteFiles.push_back(text);
        }
    }

    m.version = ReadText(s, "version", false).value;
    m.publisher = ReadText(s, "publisher", false).value;
}

// Returns the tables of the array of tables key ("file", "registry"); refuses anything else.
std::vector<const toml::table*> ReadRows(const toml::table& root, std::string_view key) {
    std::vector<const toml::table*> rows;
    const toml::node* node = root.get(key);
    const std::string header = "[[" + std::string(key) + "]]";
    if (!node) Refuse(0L, "has no " + header + " rows; at least one is needed");
    const toml::array* array = node->as_array();
    if (!array) Refuse(node, std::string(key) + " must be rows (" + header + "), not " + TypeName(node->type()));
    for (const toml::node& item : *array) {
        if (!item.is_table()) Refuse(&item, std::string(key) + " rows must be tables, not " + TypeName(item.type()));
        rows.push_back(item.as_table());
    }
    if (rows.empty()) Refuse(node, "has no " + header + " rows; at least one is needed");
    return rows;
}

// The lines where names were first used, to point at the earlier row of a duplicate.
struct Seen {
    std::map<uint16_t, long> ids;
    std::map<std::string, long> names;      // upper case: Windows names ignore case
    std::map<std::string, long> shortcuts;  // upper case
};

// Reads one [[file]] row.
PayloadRow ReadPayloadRow(const toml::table& table, const fs::path& folder, const Manifest& m, Seen& seen) {
    Section s{table, "[[file]]"};
    CheckKeys(s, {"id", "source", "built", "name", "shortcut"});
    PayloadRow row;

    Integer id = ReadInteger(s, "id");
    if (id.value < 1 || id.value > 65535) {
        Refuse(id.node, "[[file]] id " + std::to_string(id.value) + " is not a resource id (1..65535)");
    }
    if (std::find(std::begin(kReservedIds), std::end(kReservedIds), id.value) != std::end(kReservedIds)) {
        Refuse(id.node, "[[file]] id " + std::to_string(id.value) +
                            " is one of the programs' own resource ids (1, 117, 287, 288, 292)");
    }
    row.id = uint16_t(id.value);
    if (auto [at, fresh] = seen.ids.emplace(row.id, LineOf(id.node)); !fresh) {
        Refuse(id.node, "[[file]] id " + std::to_string(row.id) + " is already used on line " + std::to_string(at->second));
    }

    const toml::node* source = Find(s, "source", false);
    const toml::node* built = Find(s, "built", false);
    if (source && built) Refuse(built, "[[file]] has both 'source' and 'built'; give one");
    if (!source && !built) Refuse(&table, "[[file]] has neither 'source' nor 'built'; give one");
    if (source) {
        RequireType(s, "source", *source, toml::node_type::string);
        const std::string& text = source->as_string()->get();
        const std::string field = "[[file]] source " + Show(text);
        if (text.empty()) Refuse(source, "[[file]] source is empty");
        if (text.find_first_of("\\") != std::string::npos) Refuse(source, field + " holds '\\'; separate folders with '/'");
        for (unsigned char c : text) {
            if (c < 0x20 || c == 0x7F) Refuse(source, field + " holds a control character");
        }
        if (fs::path(text).is_absolute()) Refuse(source, field + " must be relative to the manifest's folder");
        fs::path file = (folder / text).lexically_normal();
        std::error_code ec;
        fs::file_status status = fs::status(file, ec);
        if (fs::is_directory(status)) Refuse(source, field + " is a folder, not a file");
        if (!fs::is_regular_file(status)) Refuse(source, field + ": no such file " + file.string());
        row.source = file.string();
    } else {
        RequireType(s, "built", *built, toml::node_type::string);
        const std::string& text = built->as_string()->get();
        const std::string field = "[[file]] built " + Show(text);
        if (text.empty()) Refuse(built, "[[file]] built is empty");
        if (text.find_first_of("/\\") != std::string::npos || text == "." || text == "..") {
            Refuse(built, field + " must be a file name in the product's build folder, without folders");
        }
        for (unsigned char c : text) {
            if (c < 0x20 || c == 0x7F) Refuse(built, field + " holds a control character");
        }
        std::error_code ec;
        if (!fs::is_regular_file(folder / "CMakeLists.txt", ec)) {
            Refuse(built, field + " needs a CMakeLists.txt in the manifest's folder to build it, and there is none");
        }
        row.built = text;
    }

    Text name = ReadText(s, "name", true);
    CheckInstalledName(name.node, "[[file]] name", name.value);
    if (auto [at, fresh] = seen.names.emplace(Upper(name.value), LineOf(name.node)); !fresh) {
        Refuse(name.node, "[[file]] name " + Show(name.value) + " is already installed by the row on line " +
                              std::to_string(at->second));
    }
    row.name = name.value;

    Text shortcut = ReadText(s, "shortcut", false);
    if (!shortcut.value.empty()) {
        // The link goes to <Programs>\<product name>\<shortcut>.lnk.
        const size_t fixed = kProgramsFolderBudget + 1 + m.name.size() + 1 + kLinkExtension.size();
        const size_t max = kMaxPath > fixed ? kMaxPath - fixed : 0;
        CheckLength(shortcut.node, "[[file]] shortcut", shortcut.value, 1, max,
                    "the link path, with the Programs folder budgeted at " + std::to_string(kProgramsFolderBudget) +
                        " characters, the product name and \".lnk\", must fit " + std::to_string(kMaxPath));
        CheckChars(shortcut.node, "[[file]] shortcut", shortcut.value, kBadSingleNameChars);
        CheckNotDevice(shortcut.node, "[[file]] shortcut", shortcut.value, shortcut.value);
        if (auto [at, fresh] = seen.shortcuts.emplace(Upper(shortcut.value), LineOf(shortcut.node)); !fresh) {
            Refuse(shortcut.node, "[[file]] shortcut " + Show(shortcut.value) + " is already made by the row on line " +
                                      std::to_string(at->second));
        }
    }
    row.shortcut = shortcut.value;
    return row;
}

// Reads one [[registry]] row.
RegistryRow ReadRegistryRow(const toml::table& table) {
    Section s{table, "[[registry]]"};
    CheckKeys(s, {"root", "key", "value"});
    RegistryRow row;

    Text root = ReadText(s, "root", true);
    if (std::find(std::begin(kRegistryRoots), std::end(kRegistryRoots), root.value) == std::end(kRegistryRoots)) {
        Refuse(root.node, "[[registry]] root " + Show(root.value) +
                              " is not one of HKCR, HKCU, HKLM, HKU, HKPD, HKCC, HDD (written exactly so)");
    }
    row.root = root.value;

    Text key = ReadText(s, "key", true);
    CheckRegistryKey(key.node, "[[registry]] key", key.value);
    row.key = key.value;

    Text value = ReadText(s, "value", false);
    CheckLength(value.node, "[[registry]] value", value.value, 0, kMaxRegistryText,
                "the programs hold it in 256 characters");
    row.value = value.value;
    return row;
}

// Refuses a manifest whose registry table lacks the key setup registers the uninstaller under:
// without that row the uninstaller would leave the Add/Remove Programs entry behind.
void CheckUninstallRow(const Manifest& m, const std::vector<const toml::table*>& tables) {
    const std::string key = std::string(kUninstallKeyPrefix) + m.name;
    const toml::node* withValue = nullptr;
    for (size_t i = 0; i < m.registry.size(); ++i) {
        const RegistryRow& row = m.registry[i];
        if (row.root != "HKLM" || !SameIgnoringCase(row.key, key)) continue;
        if (row.value.empty()) return;
        if (!withValue) withValue = tables[i]->get("value");
    }
    if (withValue) {
        Refuse(withValue, "[[registry]] row of the Add/Remove Programs key must have no value: the uninstaller "
                          "removes the whole key");
    }
    Refuse(0L, "[[registry]] lacks the Add/Remove Programs row that setup writes: root = \"HKLM\", key = '" + key +
                   "', no value");
}

void Validate(const toml::table& root, const fs::path& folder, Manifest& m) {
    Section top{root, "the manifest"};
    CheckKeys(top, {"product", "file", "registry"});

    Integer mainFile, launchFile;
    ReadProduct(root, m, mainFile, launchFile);

    Seen seen;
    for (const toml::table* table : ReadRows(root, "file")) m.files.push_back(ReadPayloadRow(*table, folder, m, seen));
    const std::vector<const toml::table*> registry = ReadRows(root, "registry");
    for (const toml::table* table : registry) m.registry.push_back(ReadRegistryRow(*table));

    const int64_t rows = int64_t(m.files.size());
    const std::string range = "0.." + std::to_string(rows - 1);
    if (mainFile.value < 0 || mainFile.value >= rows) {
        Refuse(mainFile.node, "[product] main_file " + std::to_string(mainFile.value) + " is not a [[file]] row (" +
                                  range + ")");
    }
    if (launchFile.value < -1 || launchFile.value >= rows) {
        Refuse(launchFile.node, "[product] launch_file " + std::to_string(launchFile.value) +
                                    " is neither -1 nor a [[file]] row (" + range + ")");
    }
    m.mainFile = int(mainFile.value);
    m.launchFile = int(launchFile.value);

    // Setup deletes obsolete files; one that it also installs would be a contradiction.
    const toml::array* obsolete = root["product"]["obsolete_files"].as_array();
    for (size_t i = 0; i < m.obsoleteFiles.size(); ++i) {
        if (seen.names.count(Upper(m.obsoleteFiles[i]))) {
            Refuse(obsolete->get(i), "[product] obsolete_files entry " + Show(m.obsoleteFiles[i]) +
                                         " is also installed by a [[file]] row");
        }
    }

    CheckUninstallRow(m, registry);
}

}  // namespace

std::string Problem::Message() const {
    std::string out = file;
    if (line > 0) out += ":" + std::to_string(line);
    if (line > 0 && column > 0) out += ":" + std::to_string(column);
    return out + ": " + reason;
}

bool Parse(std::string_view text, const fs::path& path, Manifest& manifest, Problem& problem) {
    problem = Problem{path.string(), 0, 0, ""};
    const fs::path full = fs::absolute(path).lexically_normal();
    Manifest m;
    m.fileName = full.filename().string();
    m.productKey = full.parent_path().filename().string();
    try {
        toml::table root = toml::parse(text, path.string());
        Validate(root, full.parent_path(), m);
    } catch (const toml::parse_error& e) {
        problem.line = long(e.source().begin.line);
        problem.column = long(e.source().begin.column);
        problem.reason = "not valid TOML: " + std::string(e.description());
        return false;
    } catch (const Refusal& r) {
        problem.line = r.line;
        problem.reason = r.reason;
        return false;
    }
    manifest = std::move(m);
    return true;
}

bool Load(const fs::path& path, Manifest& manifest, Problem& problem) {
    problem = Problem{path.string(), 0, 0, ""};
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        problem.reason = "is a folder, not a manifest file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        problem.reason = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        problem.reason = std::string("cannot read: ") + std::strerror(errno);
        return false;
    }
    return Parse(text.str(), path, manifest, problem);
}

}  // namespace wrenfield::manifest
