#include "archive/SignatureSearch.h"

#include "archive/FrameTag.h"
#include "archive/RecorderFields.h"

#include <algorithm>

namespace {
constexpr std::size_t kLast = FrameTag::kSignatureSize - 1;
// The chunk header and the firmware code stand before the signature.
constexpr std::int64_t kHeaderBeforeSignature = RecorderFields::kChunkHeaderSize + FrameTag::kSignatureOffset;
}  // namespace

SignatureSearch::SignatureSearch() {
    shifts.fill(static_cast<std::uint8_t>(FrameTag::kSignatureSize));
    for (std::size_t i = 0; i < FrameTag::kSignatureSize; ++i) {
        shifts[FrameTag::kSignature[i]] = static_cast<std::uint8_t>(kLast - i);
    }
}

std::ptrdiff_t SignatureSearch::find(const std::uint8_t* bytes, std::size_t length) const {
    if (length < FrameTag::kSignatureSize) return -1;
    std::size_t at = 0;
    while (at + FrameTag::kSignatureSize <= length) {
        std::size_t i = FrameTag::kSignatureSize;
        while (i > 0 && bytes[at + i - 1] == FrameTag::kSignature[i - 1]) --i;
        if (i == 0) return static_cast<std::ptrdiff_t>(at);
        std::size_t mismatch = i - 1;
        int shift = static_cast<int>(shifts[bytes[at + mismatch]]) - static_cast<int>(kLast - mismatch);
        at += static_cast<std::size_t>(std::max(1, shift));
    }
    return -1;
}

bool SignatureSearch::resynchronise(File& file, std::int64_t bytesLeft) {
    std::int64_t start = file.tell();
    if (start < 0) return false;
    // A damaged file may need many searches: the window is made once, and no larger than the
    // rest of the file (most files are far smaller than a window).
    const std::size_t wanted =
        bytesLeft >= 0 ? static_cast<std::size_t>(std::min<std::int64_t>(bytesLeft, kWindow)) : kWindow;
    if (wanted > windowSize) {
        window.reset(new std::uint8_t[wanted]);
        windowSize = wanted;
    }
    std::size_t length = file.read(window.get(), wanted);
    std::ptrdiff_t found = find(window.get(), length);
    if (found < 0) return false;
    std::int64_t header = start + found - kHeaderBeforeSignature;
    if (header < 0) return false;
    return file.seek(header, SEEK_SET);
}
