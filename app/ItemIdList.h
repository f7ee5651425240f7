#pragma once
// Owns a shell item identifier list and frees it through the shell allocator.
#include <shlobj.h>

class ItemIdList {
public:
    ItemIdList() = default;
    explicit ItemIdList(LPITEMIDLIST list) : list(list) {}
    ~ItemIdList() { reset(); }
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;
    ItemIdList(ItemIdList&& other) noexcept : list(other.list) { other.list = nullptr; }
    ItemIdList& operator=(ItemIdList&& other) noexcept {
        if (this != &other) {
            reset();
            list = other.list;
            other.list = nullptr;
        }
        return *this;
    }

    LPITEMIDLIST get() const { return list; }
    LPITEMIDLIST* out() {
        reset();
        return &list;
    }
    void reset() {
        if (list != nullptr) CoTaskMemFree(list);
        list = nullptr;
    }

private:
    LPITEMIDLIST list = nullptr;
};
