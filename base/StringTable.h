#pragma once
// Access to the program's string table (ids 5001 to 5521). Format code uses it for the
// messages it throws. loadString is the platform's: the program's resources on Windows
// (platform/Win32StringTable.cpp), a table made from the same resource script in the native
// build (platform/PosixStringTable.cpp).
#include <initializer_list>
#include <string>

// The text of a string-table entry; an empty string when the id is not in the table.
std::wstring loadString(unsigned id);

// Fills the printf-style fields of a pattern (%s, %d, %u, %ld and the like) in order with
// the given texts, "%%" giving "%". Safer than handing recorder-controlled or path text to
// a real printf: a field without an argument stays empty, an extra argument is ignored.
std::wstring fillFields(const std::wstring& pattern, std::initializer_list<std::wstring> args);

// loadString followed by fillFields.
std::wstring formatString(unsigned id, std::initializer_list<std::wstring> args);
