#pragma once
// A uniquely named file the system makes in a given folder, removed again (attributes set
// to normal, then deleted) when the object goes, however the work in between ended.
#include <string>

class TemporaryFile {
public:
    // Creates folder when it is missing (an existing one is fine) and a new empty file in it
    // whose name the system chooses from prefix. Throws IOException with string 5026 when
    // either cannot be made.
    TemporaryFile(const std::wstring& folder, const std::wstring& prefix);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& path() const { return name; }

private:
    std::wstring name;
};
