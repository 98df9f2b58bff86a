#pragma once
// The table that the build generates from the inventory files (cmake/embed_resources.cmake).
#include <cstddef>

namespace platform::embedded {

struct EmbeddedFile {
    int id;
    const char* name;
    const unsigned char* bytes;
    std::size_t size;
};

extern const EmbeddedFile kFiles[];
extern const std::size_t kFileCount;

}  // namespace platform::embedded
