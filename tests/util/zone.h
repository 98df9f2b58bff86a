#pragma once

// Switches the C runtime's local zone to a POSIX-style description such as "IST-5:30";
// nullptr restores the zone the process started with. False when the platform cannot switch.
bool SetZone(const char* tz);
