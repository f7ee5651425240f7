#pragma once
// The firmware code of this build comes from the string table as hexadecimal text
// ("0312"), so that a build for another recorder family only changes a string.
#include "archive/FirmwareCode.h"

#include <string>

// Parses the text the way start-up always has: a hexadecimal number (leading blanks and a
// "0x" are allowed, the first non-digit ends it) of at most 0xFFFF with at least one digit
// gives its high and low byte; anything else keeps the default 0x03 0x12.
FirmwareCode parseFirmwareCode(const std::wstring& text);

// The code parsed from string 5087, read once on first use.
const FirmwareCode& currentFirmwareCode();
