#include "app/FdiContext.h"

#include "base/Exception.h"
#include "base/StringTable.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>

#include <cstdlib>

namespace {

constexpr unsigned kExpandFailedText = 5040;
constexpr int kProcessorType = cpu80386;

FNALLOC(allocate) { return std::malloc(cb); }

FNFREE(release) { std::free(pv); }

// The runtime's secure open, sharing the file with every other reader and writer.
FNOPEN(openFile) {
    int file = -1;
    if (_sopen_s(&file, pszFile, oflag, _SH_DENYNO, pmode) != 0) return -1;
    return file;
}

FNREAD(readFile) { return static_cast<UINT>(_read(static_cast<int>(hf), pv, cb)); }

// A failing write returns -1, which the decompressor reports as a target-file error.
FNWRITE(writeFile) { return static_cast<UINT>(_write(static_cast<int>(hf), pv, cb)); }

FNSEEK(seekFile) { return _lseek(static_cast<int>(hf), dist, seektype); }

}  // namespace

int DIAMONDAPI FdiContext::closeFile(INT_PTR file) { return _close(static_cast<int>(file)); }

FdiContext::FdiContext(ERF& error)
    : context(FDICreate(&allocate, &release, &openFile, &readFile, &writeFile, &FdiContext::closeFile,
                        &seekFile, kProcessorType, &error)) {
    if (context == nullptr) throw IOException(loadString(kExpandFailedText));
}

FdiContext::~FdiContext() { FDIDestroy(context); }
