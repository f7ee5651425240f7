#pragma once
// Wall-clock intervals from the performance counter.
#include <windows.h>

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start); }
    double milliseconds() const {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start;
};
