#pragma once
// The files the program carries inside itself (resource type "INVENTORY_FILES"): report
// templates, style sheet, images, licence text.
#include <string_view>

namespace platform {

// The bytes of the resource with this id, valid for the life of the process; empty when
// the program carries no such resource.
std::string_view ProgramResource(int id);

}  // namespace platform
