#include "config/run_flags.h"

namespace {

RunFlags g_runFlags;

}  // namespace

const RunFlags& GetRunFlags() {
    return g_runFlags;
}
void SetRunFlags(const RunFlags& flags) {
    g_runFlags = flags;
}
