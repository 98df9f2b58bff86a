#include "platform/resources.h"

#include "platform/linux/embedded_resources.h"

namespace platform {

std::string_view ProgramResource(int id) {
    for (std::size_t i = 0; i < embedded::kFileCount; ++i) {
        const embedded::EmbeddedFile& file = embedded::kFiles[i];
        if (file.id == id)
            return {reinterpret_cast<const char*>(file.bytes), file.size};
    }
    return {};
}

}  // namespace platform
