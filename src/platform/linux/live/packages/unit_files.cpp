#include "platform/linux/live/packages/unit_files.h"
#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/common/unit_folders.h"
#include "platform/linux/live/common/unit_syntax.h"

#include <iterator>
#include <map>
#include <set>

namespace platform::live {
namespace {

constexpr std::string_view kServiceSuffix = ".service";

std::string_view BaseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view WithoutSuffix(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

bool IsTemplate(std::string_view name) {
    return name.ends_with("@.service");
}

// systemd's unit-name unescaping: "-" stands for "/", "\xNN" for a byte.
std::string Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '-') {
            out += '/';
        } else if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
                   HexDigitValue(text[i + 2]) >= 0 && HexDigitValue(text[i + 3]) >= 0) {
            out += static_cast<char>(HexDigitValue(text[i + 2]) * 16 + HexDigitValue(text[i + 3]));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

UnitFileText ParseUnitFile(std::string_view text) {
    UnitFileText unit;
    for (const UnitSetting& setting : ParseUnitSettings(text)) {
        if (setting.section == "Unit" && setting.key == "Description")
            unit.description = setting.value;
        else if (setting.section == "Service" && setting.key == "PIDFile")
            unit.pidFile = setting.value;
        else if (setting.section == "Install" && !setting.value.empty() && setting.key == "Also")
            unit.installAlso = true;
        else if (setting.section == "Install" && !setting.value.empty() &&
                 (setting.key == "WantedBy" || setting.key == "RequiredBy" ||
                  setting.key == "UpheldBy" || setting.key == "Alias"))
            unit.installRules = true;
    }
    return unit;
}

std::string ExpandSpecifiers(std::string_view text, std::string_view unitName) {
    const std::string_view stem = WithoutSuffix(unitName);
    const std::size_t at = stem.find('@');
    const std::string_view prefix = stem.substr(0, at);
    const std::string_view instance =
        at == std::string_view::npos ? std::string_view() : stem.substr(at + 1);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
            case 'n':
                out += unitName;
                break;
            case 'N':
                out += stem;
                break;
            case 'p':
                out += prefix;
                break;
            case 'P':
                out += Unescaped(prefix);
                break;
            case 'i':
                out += instance;
                break;
            case 'I':
                out += Unescaped(instance);
                break;
            case '%':
                out += '%';
                break;
            default:
                out += '%';
                out += text[i];
        }
    }
    return out;
}

std::vector<UnitFile> ReadUnitFiles(const SystemRoot& root) {
    const std::vector<std::string> folders(std::begin(kUnitFolders), std::end(kUnitFolders));
    std::map<std::string, UnitFile> units;
    for (const auto& [name, path] : UnitFilesIn(root, folders, kServiceSuffix)) {
        UnitFile unit;
        unit.name = name;
        const auto target = root.ReadLink(path);
        unit.masked = target && *target == "/dev/null";
        unit.alias = target && !unit.masked && BaseName(*target) != name;
        unit.path = FollowLinks(root, path);
        if (!unit.masked) {
            const auto text = root.ReadFile(unit.path, 1u << 20);
            unit.masked = text && text->empty();
            if (text)
                unit.text = ParseUnitFile(*text);
        }
        units.emplace(name, std::move(unit));
    }
    std::set<std::string> enabled;
    for (const EnablingLink& link :
         EnablingLinks(root, folders, kServiceSuffix, Dependencies::kWantsAndRequires))
        enabled.insert(link.unit);

    // An enabled instance is made from its template, unless a file of its own exists.
    for (const std::string& name : enabled) {
        const auto templateName = TemplateOf(name);
        if (!templateName || units.count(name))
            continue;
        const auto found = units.find(*templateName);
        if (found == units.end() || found->second.masked || found->second.alias)
            continue;
        UnitFile instance = found->second;
        instance.name = name;
        units.emplace(name, std::move(instance));
    }

    std::vector<UnitFile> result;
    for (auto& [name, unit] : units) {
        if (IsTemplate(name))
            continue;
        unit.enabled = enabled.count(name) > 0;
        unit.text.description = ExpandSpecifiers(unit.text.description, name);
        unit.text.pidFile = ExpandSpecifiers(unit.text.pidFile, name);
        result.push_back(std::move(unit));
    }
    return result;
}

}  // namespace platform::live
