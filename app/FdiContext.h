#pragma once
// Owner of one context of the system's cabinet decompressor (FDI in cabinet.dll). Its file
// callbacks are the C runtime's low-level file functions, so the handles the decompressor
// and the notification callback pass around are runtime file descriptors.
#include <windows.h>

#include <fdi.h>

class FdiContext {
public:
    // error is where the decompressor records why a later call failed; it must outlive the
    // context. Throws IOException with string 5040 when no context can be made.
    explicit FdiContext(ERF& error);
    ~FdiContext();
    FdiContext(const FdiContext&) = delete;
    FdiContext& operator=(const FdiContext&) = delete;

    HFDI get() const { return context; }

    // The runtime's close as the decompressor calls it; the notification callback closes the
    // files it writes with it too.
    static int DIAMONDAPI closeFile(INT_PTR file);

private:
    HFDI context;
};
