#include "platform/linux/live/packages/dpkg_status.h"
#include "platform/linux/live/common/text_views.h"

#include <algorithm>

namespace platform::live {
namespace {

std::optional<std::uint64_t> Kilobytes(std::string_view text) {
    return ParseUnsigned<std::uint64_t>(TrimBlanks(text));
}

std::string Field(const ControlStanza& stanza, std::string_view name) {
    return std::string(FieldValue(stanza, name).value_or(std::string_view()));
}

}  // namespace

std::vector<ControlStanza> ParseControlStanzas(std::string_view text) {
    std::vector<ControlStanza> stanzas;
    ControlStanza current;
    const auto finish = [&] {
        if (!current.empty())
            stanzas.push_back(std::move(current));
        current.clear();
    };
    for (const std::string_view line : Lines(text, Lines::Ends::kNewlineOrCrLf)) {
        if (TrimBlanks(line).empty()) {
            finish();
        } else if (line.front() == ' ' || line.front() == '\t') {
            // A continuation before any field belongs to nothing.
            if (current.empty())
                continue;
            std::string_view more = line.substr(1);
            if (TrimBlanks(more) == ".")
                more = {};
            current.back().value += '\n';
            current.back().value += more;
        } else if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
            current.push_back({std::string(TrimBlanks(line.substr(0, colon))),
                               std::string(TrimBlanks(line.substr(colon + 1)))});
        }
    }
    finish();
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
    for (const auto& stanza : ParseControlStanzas(statusText)) {
        // "want flag status": only the third word tells whether the files are there.
        const auto status = SplitWords(FieldValue(stanza, "Status").value_or(std::string_view()));
        if (status.size() != 3 || status[2] != "installed")
            continue;
        DpkgPackage package;
        package.name = Field(stanza, "Package");
        if (package.name.empty())
            continue;
        package.version = Field(stanza, "Version");
        package.architecture = Field(stanza, "Architecture");
        package.maintainer = MaintainerName(Field(stanza, "Maintainer"));
        const std::string description = Field(stanza, "Description");
        package.synopsis = std::string(TrimBlanks(description.substr(0, description.find('\n'))));
        package.homepage = Field(stanza, "Homepage");
        if (auto size = FieldValue(stanza, "Installed-Size"))
            package.installedSizeKb = Kilobytes(*size);
        packages.push_back(std::move(package));
    }
    return packages;
}

}  // namespace platform::live
