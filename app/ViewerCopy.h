#pragma once
// The copy of this viewer that the card restore puts on the card as "SCENOVA.exe"
// (string 5085), so that the card carries a viewer for its own records.
#include <cstdint>
#include <optional>
#include <string>

struct ProgramFile {
    std::wstring path;
    std::uint64_t size = 0;

    // The running program's file. Throws WindowException when the system cannot tell.
    static ProgramFile running();
};

class ViewerCopy {
public:
    // Copies the running program.
    ViewerCopy() = default;
    // Copies program, expecting the copy to have its size; tests give files of their own.
    explicit ViewerCopy(ProgramFile program) : program(std::move(program)) {}

    // Copies the program into folder under string 5085, replacing a file there; does
    // nothing when that is the program itself (a viewer started from the card). Throws
    // WindowException when the copy fails, IOException with string 5007 when the copy's size
    // differs from the program's (the copy is removed).
    void writeInto(const std::wstring& folder) const;

    // The two paths name the same file: compared without regard to case once both are
    // full long paths.
    static bool isSameFile(const std::wstring& first, const std::wstring& second);

private:
    std::optional<ProgramFile> program;
};
