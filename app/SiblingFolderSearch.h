#pragma once
// Finds the record folder beside the current one, as the previous/next record buttons need
// it: the folders of the parent, hidden ones included, in case-insensitive name order,
// as the shell lists them.
#include <string>

class SiblingFolderSearch {
public:
    // The full path of the folder before (previous) or after the given folder among its
    // parent's folders. Throws DataMissingException when the folder or its parent can no
    // longer be found (moved or deleted), and an Exception with a ready message otherwise:
    // 5066 / 5065 at the first / last folder, 5048 when the folder's own name is not among
    // the parent's folders (names are compared case-sensitively), 5042 to 5047 when the shell fails.
    static std::wstring find(const std::wstring& folder, bool previous);

    // The parent part of a path with its backslash ("D:\EVENT\EVT00002" gives "D:\EVENT\").
    static std::wstring parentOf(const std::wstring& folder);
    // The last component of a path (after the last backslash).
    static std::wstring nameOf(const std::wstring& folder);
};
