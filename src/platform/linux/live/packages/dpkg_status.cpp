#include "platform/linux/live/packages/dpkg_status.h"
#include "platform/linux/live/common/text_views.h"

#include <utility>

namespace platform::live {
namespace {

std::optional<std::uint64_t> Kilobytes(std::string_view text) {
    return ParseUnsigned<std::uint64_t>(TrimBlanks(text));
}

// A field as the text holds it: the rest of its first line, and the stretch of text from its
// first continuation line to its last. A value is joined only when it is asked for: most of
// a status file (dependencies, long descriptions, configuration files) never is.
struct RawField {
    std::string_view name;
    std::string_view first;
    std::string_view more;
};
using RawStanza = std::vector<RawField>;

// Calls `each` with every stanza in file order; the stanza lives until the next call.
template <class Each>
void ForEachRawStanza(std::string_view text, Each each) {
    RawStanza current;
    const auto finish = [&] {
        if (!current.empty())
            each(std::as_const(current));
        current.clear();
    };
    for (const std::string_view line : Lines(text, Lines::Ends::kNewlineOrCrLf)) {
        if (TrimBlanks(line).empty()) {
            finish();
        } else if (line.front() == ' ' || line.front() == '\t') {
            // A continuation before any field belongs to nothing.
            if (current.empty())
                continue;
            std::string_view& more = current.back().more;
            const char* start = more.empty() ? line.data() : more.data();
            more = std::string_view(start,
                                    static_cast<std::size_t>(line.data() + line.size() - start));
        } else if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
            current.push_back(
                {TrimBlanks(line.substr(0, colon)), TrimBlanks(line.substr(colon + 1)), {}});
        }
    }
    finish();
}

// Continuation lines follow the first line after "\n", without their leading blank; a lone
// "." becomes an empty line. Lines between them that are no continuation belong to nothing.
std::string JoinedValue(const RawField& field) {
    std::string value(field.first);
    for (const std::string_view line : Lines(field.more, Lines::Ends::kNewlineOrCrLf)) {
        if (line.empty() || (line.front() != ' ' && line.front() != '\t'))
            continue;
        std::string_view more = line.substr(1);
        if (TrimBlanks(more) == ".")
            more = {};
        value += '\n';
        value += more;
    }
    return value;
}

// The first field of that name (without letter case); null when absent.
const RawField* FindField(const RawStanza& stanza, std::string_view name) {
    for (const auto& field : stanza)
        if (EqualIgnoringCase(field.name, name))
            return &field;
    return nullptr;
}

// The value of the first field of that name; empty when absent. A value on one line is the
// text itself; a longer one is joined into `storage`.
std::string_view RawValue(const RawStanza& stanza, std::string_view name, std::string& storage) {
    const RawField* field = FindField(stanza, name);
    if (!field)
        return {};
    if (field->more.empty())
        return field->first;
    storage = JoinedValue(*field);
    return storage;
}

}  // namespace

std::vector<ControlStanza> ParseControlStanzas(std::string_view text) {
    std::vector<ControlStanza> stanzas;
    ForEachRawStanza(text, [&](const RawStanza& raw) {
        ControlStanza& stanza = stanzas.emplace_back();
        for (const auto& field : raw)
            stanza.push_back({std::string(field.name), JoinedValue(field)});
    });
    return stanzas;
}

std::optional<std::string_view> FieldValue(const ControlStanza& stanza, std::string_view name) {
    for (const auto& field : stanza)
        if (EqualIgnoringCase(field.name, name))
            return std::string_view(field.value);
    return std::nullopt;
}

std::string MaintainerName(std::string_view maintainer) {
    maintainer = TrimBlanks(maintainer);
    // The address closes the field; a "<" inside the name is the name's.
    const std::size_t open = maintainer.rfind('<');
    if (maintainer.empty() || maintainer.back() != '>' || open == std::string_view::npos)
        return std::string(maintainer);
    const std::string_view name = TrimBlanks(maintainer.substr(0, open));
    if (!name.empty())
        return std::string(name);
    return std::string(TrimBlanks(maintainer.substr(open + 1, maintainer.size() - open - 2)));
}

std::vector<DpkgPackage> InstalledPackages(std::string_view statusText) {
    std::vector<DpkgPackage> packages;
    std::string storage;
    ForEachRawStanza(statusText, [&](const RawStanza& stanza) {
        const auto field = [&](std::string_view name) {
            return std::string(RawValue(stanza, name, storage));
        };
        // "want flag status": only the third word tells whether the files are there.
        const auto status = SplitWords(RawValue(stanza, "Status", storage));
        if (status.size() != 3 || status[2] != "installed")
            return;
        DpkgPackage package;
        package.name = field("Package");
        if (package.name.empty())
            return;
        package.version = field("Version");
        package.architecture = field("Architecture");
        package.maintainer = MaintainerName(RawValue(stanza, "Maintainer", storage));
        // The synopsis is the description's first line: the long description after it (most
        // of a status file) is never joined.
        if (const RawField* description = FindField(stanza, "Description"))
            package.synopsis = std::string(description->first);
        package.homepage = field("Homepage");
        if (FindField(stanza, "Installed-Size"))
            package.installedSizeKb = Kilobytes(RawValue(stanza, "Installed-Size", storage));
        packages.push_back(std::move(package));
    });
    return packages;
}

}  // namespace platform::live
