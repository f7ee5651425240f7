// The native build carries no resources: its string table is made at configure time from
// the program's own resource script (resources/strings.rc), so messages read the same.
#include "base/StringTable.h"

#include <algorithm>
#include <iterator>

namespace {

struct Entry {
    unsigned id;
    const wchar_t* text;
};

const Entry kEntries[] = {
#include "StringTableEntries.inc"
};

}  // namespace

std::wstring loadString(unsigned id) {
    auto found = std::find_if(std::begin(kEntries), std::end(kEntries), [id](const Entry& e) { return e.id == id; });
    return found == std::end(kEntries) ? std::wstring() : std::wstring(found->text);
}
