#pragma once
// The check every wildcard folder search applies to the names it returns: the system's
// search also matches short (8.3) names, so "record.dpcx" comes back for "*.dpc".
#include <string>

// True when name may stand for pattern: the last four characters agree ignoring case, and
// for "Video????.dmv" the name is "VIDEO" (any case), four decimal digits and ".dmv".
bool nameMatchesPattern(const std::wstring& pattern, const std::wstring& name);
