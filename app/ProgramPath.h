#pragma once
// Where the running program file lies.
#include <string>

// The full path of the program file; empty if the system cannot tell.
std::wstring programFilePath();

// The program's folder with a trailing backslash: the folder dialogs start there.
std::wstring programDirectory();
