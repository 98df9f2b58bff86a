#include "platform/process_setup.h"

namespace platform {

// Nothing to prepare: the terminal front end needs no libraries loaded up front.
ProcessSetup::ProcessSetup() = default;
ProcessSetup::~ProcessSetup() = default;

}  // namespace platform
