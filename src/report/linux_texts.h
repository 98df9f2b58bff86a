#pragma once
// The texts of a live Linux inventory that a Windows report has no place for: the rows that
// stand where Windows notions stood, and the parts of list rows only Linux answers.
#include <string>

#include "store/inventory_types.h"

// A session taken on a live Linux system: its platform facts name the family.
bool IsLinuxSession(const SessionData& session);

// "/24" after an adapter's first address, or nothing when its mask is not known.
std::wstring FirstPrefixText(const SessionItem& adapter);

// "[Gateway&nbsp;...]&nbsp;[DNS&nbsp;...]&nbsp;": an adapter's default gateways and DNS servers.
std::wstring NetworkDetailsText(const SessionItem& adapter);

// "Name [unit.service] active, enabled" of one service.
std::wstring ServiceStateText(const SessionItem& service);

// " [dpkg]" after a program's name, or nothing for a program of no known source.
std::wstring PackageSourceText(const SessionItem& program);
