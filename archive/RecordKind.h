#pragma once
// What kind of record an open record is. Plain integers: the values are shown, compared
// and stored as the recorder's kind numbers (3 to 10 are never produced).
struct RecordKind {
    enum : int {
        NoDetection = 0,
        AutoEvent = 1,
        ManualEvent = 2,
        Image = 11,
        Continuous = 12,
    };
};
