#pragma once
// What the user typed into one of the settings dialogs' number edits. The dialogs take a
// number followed by nothing but blanks, clamp it to their range, and put the last accepted
// value back for anything else.
#include <string>

struct TypedNumber {
    enum Kind { Empty, Junk, Number };
    Kind kind = Empty;
    double value = 0;  // for Number; always finite

    // A decimal fraction such as "0.45" (an infinite or undefined value counts as junk).
    static TypedNumber decimal(const std::wstring& text);
    // A decimal integer such as "-12"; values beyond a long saturate.
    static TypedNumber integer(const std::wstring& text);

    // value clamped to [low, high] and made an int.
    int clamped(int low, int high) const;
};
