#include "platform/linux/live/packages/snap_meta.h"

#include <yaml.h>

namespace platform::live {
namespace {

class YamlParser {
  public:
    explicit YamlParser(std::string_view text) {
        ready_ = yaml_parser_initialize(&parser_) != 0;
        if (ready_)
            yaml_parser_set_input_string(
                &parser_, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    }
    ~YamlParser() {
        if (ready_)
            yaml_parser_delete(&parser_);
    }
    YamlParser(const YamlParser&) = delete;
    YamlParser& operator=(const YamlParser&) = delete;

    // The next event's type and, for a scalar, its text; nothing on a syntax error.
    std::optional<yaml_event_type_t> Next(std::string& scalar) {
        yaml_event_t event;
        if (!ready_ || !yaml_parser_parse(&parser_, &event))
            return std::nullopt;
        const yaml_event_type_t type = event.type;
        if (type == YAML_SCALAR_EVENT)
            scalar.assign(reinterpret_cast<const char*>(event.data.scalar.value),
                          event.data.scalar.length);
        yaml_event_delete(&event);
        return type;
    }

  private:
    yaml_parser_t parser_{};
    bool ready_ = false;
};

}  // namespace

std::optional<SnapMeta> ParseSnapYaml(std::string_view text) {
    YamlParser parser(text);
    SnapMeta meta;
    int depth = 0;
    bool rootIsMapping = false, atKey = true;
    std::string key, scalar;
    for (;;) {
        const auto event = parser.Next(scalar);
        if (!event)
            return std::nullopt;
        if (*event == YAML_DOCUMENT_END_EVENT || *event == YAML_STREAM_END_EVENT)
            break;
        const bool top = rootIsMapping && depth == 1;
        switch (*event) {
            case YAML_MAPPING_START_EVENT:
            case YAML_SEQUENCE_START_EVENT:
                if (depth == 0)
                    rootIsMapping = *event == YAML_MAPPING_START_EVENT;
                ++depth;
                break;
            case YAML_MAPPING_END_EVENT:
            case YAML_SEQUENCE_END_EVENT:
                // A collection that was a value of the root ends; a key comes next.
                if (--depth == 1)
                    atKey = true;
                break;
            case YAML_SCALAR_EVENT:
                if (top && atKey) {
                    key = scalar;
                } else if (top) {
                    if (key == "name")
                        meta.name = scalar;
                    else if (key == "version")
                        meta.version = scalar;
                    else if (key == "summary")
                        meta.summary = scalar;
                    else if (key == "type")
                        meta.type = scalar;
                }
                if (top)
                    atKey = !atKey;
                break;
            case YAML_ALIAS_EVENT:
                if (top)
                    atKey = !atKey;
                break;
            default:
                break;
        }
    }
    if (meta.name.empty())
        return std::nullopt;
    if (meta.type.empty())
        meta.type = "app";
    return meta;
}

std::vector<InstalledProgram> SnapPrograms(const SystemRoot& root) {
    std::vector<InstalledProgram> programs;
    // Distributions without /snap mount the snaps here.
    for (const char* mounts : {"/snap", "/var/lib/snapd/snap"}) {
        for (const std::string& instance : root.ListFolder(mounts)) {
            const auto text = root.ReadFile(
                std::string(mounts) + "/" + instance + "/current/meta/snap.yaml", 1u << 20);
            const auto meta = text ? ParseSnapYaml(*text) : std::nullopt;
            if (!meta || meta->type == "base" || meta->type == "os" || meta->type == "snapd")
                continue;
            InstalledProgram program;
            program.id = instance;
            program.name = instance;
            program.version = meta->version;
            program.comments = meta->summary;
            program.source = "snap";
            programs.push_back(std::move(program));
        }
        if (!programs.empty())
            break;
    }
    return programs;
}

}  // namespace platform::live
