#pragma once
// The program's version as the About box shows it ("1.0.0"), read from the version
// resource of the program file.
#include <string>

class ProgramVersion {
public:
    // The FileVersion of the first translation that has one, as fromFileVersion makes it;
    // string 5002 when the program file carries no version.
    static std::wstring text();

    // Keeps the digits of the first three numbers of a FileVersion ("1, 0, 0, 0" gives
    // "1.0.0"), dropping everything else.
    static std::wstring fromFileVersion(const std::wstring& fileVersion);

    // The FileVersion string of a program file, empty when it has none.
    static std::wstring fileVersionOf(const std::wstring& programPath);
};
