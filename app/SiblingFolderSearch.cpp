#include "app/SiblingFolderSearch.h"

#include "app/ComPointer.h"
#include "app/ItemIdList.h"
#include "base/Exception.h"
#include "base/StringTable.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace {

constexpr unsigned kNoFolderNameText = 5042;
constexpr unsigned kCannotEnumerateText = 5043;
constexpr unsigned kNoAllocatorText = 5045;
constexpr unsigned kNoDesktopText = 5046;
constexpr unsigned kCannotBindText = 5047;
constexpr unsigned kNotAmongSiblingsText = 5048;
constexpr unsigned kNoNextRecordText = 5065;
constexpr unsigned kNoPreviousRecordText = 5066;

[[noreturn]] void fail(unsigned textId) {
    throw IOException(loadString(textId));
}

// Resolves a file-system path to an item identifier list; the folder is gone when it fails.
ItemIdList resolve(IShellFolder* desktop, const std::wstring& path) {
    std::vector<wchar_t> name(path.begin(), path.end());
    name.push_back(L'\0');
    ItemIdList list;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, list.out(), nullptr)) ||
        list.get() == nullptr)
        throw DataMissingException();
    return list;
}

std::vector<std::wstring> childFolderNames(IShellFolder* parent) {
    ComPointer<IEnumIDList> children;
    HRESULT enumerated = parent->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, children.out());
    if (FAILED(enumerated) || !children) fail(kCannotEnumerateText);
    std::vector<std::wstring> names;
    for (;;) {
        ItemIdList child;
        ULONG fetched = 0;
        if (children->Next(1, child.out(), &fetched) != S_OK || fetched != 1) break;
        WIN32_FIND_DATAW found = {};
        if (FAILED(SHGetDataFromIDListW(parent, child.get(), SHGDFIL_FINDDATA, &found, sizeof found)))
            fail(kNoFolderNameText);
        names.emplace_back(found.cFileName);
    }
    return names;
}

bool lessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_LESS_THAN;
}

}  // namespace

std::wstring SiblingFolderSearch::nameOf(const std::wstring& folder) {
    std::size_t slash = folder.find_last_of(L'\\');
    return slash == std::wstring::npos ? folder : folder.substr(slash + 1);
}

std::wstring SiblingFolderSearch::parentOf(const std::wstring& folder) {
    std::size_t end = folder.find_last_not_of(L'\\');
    std::wstring trimmed = end == std::wstring::npos ? std::wstring() : folder.substr(0, end + 1);
    std::size_t slash = trimmed.find_last_of(L'\\');
    std::wstring parent = slash == std::wstring::npos ? std::wstring() : trimmed.substr(0, slash);
    return parent + L'\\';
}

std::wstring SiblingFolderSearch::find(const std::wstring& folder, bool previous) {
    std::wstring name = nameOf(folder);
    std::wstring parentPath = parentOf(folder);

    ComPointer<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.out())) || !allocator) fail(kNoAllocatorText);
    ComPointer<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.out())) || !desktop) fail(kNoDesktopText);

    ItemIdList self = resolve(desktop.get(), folder);
    ItemIdList parentList = resolve(desktop.get(), parentPath);

    ComPointer<IShellFolder> parent;
    if (FAILED(desktop->BindToObject(parentList.get(), nullptr, IID_IShellFolder, parent.outVoid())) || !parent)
        fail(kCannotBindText);

    std::vector<std::wstring> names = childFolderNames(parent.get());
    std::stable_sort(names.begin(), names.end(), lessIgnoringCase);

    auto here = std::find(names.begin(), names.end(), name);
    if (here == names.end()) fail(kNotAmongSiblingsText);
    if (previous) {
        if (here == names.begin()) throw Exception(loadString(kNoPreviousRecordText));
        return parentPath + *(here - 1);
    }
    if (here + 1 == names.end()) throw Exception(loadString(kNoNextRecordText));
    return parentPath + *(here + 1);
}
