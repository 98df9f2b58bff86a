#pragma once
// The four run flags, set once from the command line before any other object exists.

struct RunFlags {
    bool silent = false;
    bool portable = false;
    bool yaml = false;
    bool diff = false;
};

// The flags of this process; set by Run and only read afterwards.
const RunFlags& GetRunFlags();
void SetRunFlags(const RunFlags& flags);
