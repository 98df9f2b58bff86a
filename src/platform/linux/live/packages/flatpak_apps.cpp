#include "platform/linux/live/packages/flatpak_apps.h"

#include <expat.h>

#include <cstring>
#include <memory>

#include "platform/linux/live/common/text_views.h"

namespace platform::live {
namespace {

struct FreeParser {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

// Walks the elements below the root, keeping the text of those wanted.
class AppStreamReader {
  public:
    std::optional<AppStreamComponent> Read(std::string_view xml) {
        const std::unique_ptr<XML_ParserStruct, FreeParser> parser(XML_ParserCreate(nullptr));
        if (!parser)
            return std::nullopt;
        XML_SetUserData(parser.get(), this);
        XML_SetElementHandler(parser.get(), &Start, &End);
        XML_SetCharacterDataHandler(parser.get(), &Text);
        if (XML_Parse(parser.get(), xml.data(), static_cast<int>(xml.size()), XML_TRUE) !=
            XML_STATUS_OK)
            return std::nullopt;
        return component_;
    }

  private:
    static const char* Attribute(const char** attributes, const char* name) {
        for (; attributes[0]; attributes += 2)
            if (std::strcmp(attributes[0], name) == 0)
                return attributes[1];
        return nullptr;
    }

    // The untranslated text of an element is the one without a language.
    static void Start(void* self, const char* element, const char** attributes) {
        auto& reader = *static_cast<AppStreamReader*>(self);
        const std::string_view name = element;
        const std::size_t depth = reader.path_.size();
        reader.path_.emplace_back(name);
        reader.target_ = nullptr;
        if (Attribute(attributes, "xml:lang"))
            return;
        AppStreamComponent& component = reader.component_;
        if (depth == 1 && name == "name")
            reader.target_ = &component.name;
        else if (depth == 1 && name == "summary")
            reader.target_ = &component.summary;
        else if (depth == 1 && name == "developer_name")
            reader.target_ = &component.developer;
        else if (depth == 2 && name == "name" && reader.path_[1] == "developer")
            reader.target_ = &component.developer;
        else if (depth == 1 && name == "url") {
            const char* type = Attribute(attributes, "type");
            if (type && std::strcmp(type, "homepage") == 0)
                reader.target_ = &component.homepage;
        } else if (depth == 2 && name == "release" && reader.path_[1] == "releases" &&
                   !reader.sawRelease_) {
            reader.sawRelease_ = true;
            if (const char* version = Attribute(attributes, "version"))
                component.version = version;
        }
        // The first of several untranslated elements counts.
        if (reader.target_ && !reader.target_->empty())
            reader.target_ = nullptr;
    }

    static void End(void* self, const char*) {
        auto& reader = *static_cast<AppStreamReader*>(self);
        if (reader.target_)
            *reader.target_ = std::string(TrimBlanks(*reader.target_));
        reader.target_ = nullptr;
        reader.path_.pop_back();
    }

    static void Text(void* self, const char* text, int length) {
        auto& reader = *static_cast<AppStreamReader*>(self);
        if (reader.target_)
            reader.target_->append(text, static_cast<std::size_t>(length));
    }

    std::vector<std::string> path_;
    std::string* target_ = nullptr;
    bool sawRelease_ = false;
    AppStreamComponent component_;
};

}  // namespace

std::optional<std::string> FlatpakApplicationId(std::string_view metadata) {
    bool inApplication = false;
    for (const std::string_view raw : Lines(metadata, Lines::Ends::kNewlineOrCrLf)) {
        const std::string_view line = TrimBlanks(raw);
        if (line.starts_with('[')) {
            inApplication = line == "[Application]";
        } else if (const std::size_t equals = line.find('=');
                   inApplication && equals != std::string_view::npos &&
                   TrimBlanks(line.substr(0, equals)) == "name") {
            const std::string_view id = TrimBlanks(line.substr(equals + 1));
            if (!id.empty())
                return std::string(id);
        }
    }
    return std::nullopt;
}

std::optional<AppStreamComponent> ParseAppStream(std::string_view xml) {
    return AppStreamReader().Read(xml);
}

std::vector<InstalledProgram> FlatpakApplications(const SystemRoot& root,
                                                  const std::string& installation,
                                                  const std::string& source) {
    std::vector<InstalledProgram> programs;
    for (const std::string& folder : root.ListFolder(installation + "/app")) {
        const std::string active = installation + "/app/" + folder + "/current/active";
        const auto metadata = root.ReadFile(active + "/metadata", 1u << 20);
        const auto id = metadata ? FlatpakApplicationId(*metadata) : std::nullopt;
        if (!id)
            continue;
        InstalledProgram program;
        program.id = *id;
        program.name = *id;
        program.source = source;
        const std::string share = active + "/files/share/";
        for (const std::string& file :
             {"metainfo/" + *id + ".metainfo.xml", "metainfo/" + *id + ".appdata.xml",
              "appdata/" + *id + ".appdata.xml"}) {
            const auto xml = root.ReadFile(share + file, 4u << 20);
            const auto component = xml ? ParseAppStream(*xml) : std::nullopt;
            if (!component)
                continue;
            if (!component->name.empty())
                program.name = component->name;
            program.version = component->version;
            program.publisher = component->developer;
            program.comments = component->summary;
            program.url = component->homepage;
            break;
        }
        programs.push_back(std::move(program));
    }
    return programs;
}

std::vector<InstalledProgram> FlatpakPrograms(const SystemRoot& root, const std::string& home) {
    auto programs = FlatpakApplications(root, "/var/lib/flatpak", "flatpak (system)");
    if (home.starts_with('/'))
        for (auto& program :
             FlatpakApplications(root, home + "/.local/share/flatpak", "flatpak (user)"))
            programs.push_back(std::move(program));
    return programs;
}

}  // namespace platform::live
