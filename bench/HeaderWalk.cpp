#include "bench/HeaderWalk.h"

#include "archive/FileSystem.h"

#include <cstdint>

namespace {

constexpr std::size_t kRecordHeaderBytes = 32;
constexpr std::size_t kSkipBlockBytes = 16;
constexpr std::size_t kChunkHeaderBytes = 64;
constexpr std::size_t kLookAheadBytes = 16;
constexpr int kMaxChunks = 1800;  // the scan stops at 900 video and 900 sound chunks

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

}  // namespace

int walkChunkHeaders(const std::wstring& path) {
    std::unique_ptr<File> file = FileSystem::current().open(path, FileMode::ReadBinary);
    if (!file) return -1;
    std::uint8_t header[kChunkHeaderBytes];
    std::uint8_t lookAhead[kLookAheadBytes];
    if (file->read(header, kRecordHeaderBytes) != kRecordHeaderBytes) return 0;
    if (file->read(header, kSkipBlockBytes) != kSkipBlockBytes) return 0;
    file->seek(static_cast<std::int64_t>(header[0]) * 8, SEEK_CUR);
    int chunks = 0;
    while (chunks < kMaxChunks) {
        if (file->read(header, kChunkHeaderBytes) != kChunkHeaderBytes) break;
        if (file->read(lookAhead, kLookAheadBytes) != kLookAheadBytes) break;
        file->seek(-static_cast<std::int64_t>(kLookAheadBytes), SEEK_CUR);
        const auto payload = static_cast<std::int32_t>(bigEndian32(header));
        if (payload > 0 && !file->seek(payload, SEEK_CUR)) break;
        ++chunks;
    }
    return chunks;
}
