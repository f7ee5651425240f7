#pragma once
// What an AVI file holds, read back chunk by chunk in file order, so that tests see the
// frames, the sound and their interleaving exactly as a player meets them.
#include "archive/ByteOrder.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

struct AviContents {
    bool valid = false;
    std::uint32_t totalFrames = 0;   // main header
    std::uint32_t videoLength = 0;   // stream headers
    std::uint32_t soundLength = 0;
    std::uint32_t framesPerSecond = 0;
    std::vector<std::vector<std::uint8_t>> frames;
    std::vector<std::uint8_t> sound;
    std::vector<std::size_t> soundBeforeFrame;  // samples already in the file at each frame
};

namespace avi_contents_detail {

inline std::uint32_t id(const char* text) { return readLittleEndian32(reinterpret_cast<const std::uint8_t*>(text)); }

// Calls visit(chunk id, offset of the chunk, its size) for each chunk between at and end,
// descending into LIST chunks.
template <typename Visit>
void forEachChunk(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t end, const Visit& visit) {
    while (at + 8 <= end) {
        const std::uint32_t chunk = readLittleEndian32(&bytes[at]);
        const std::size_t size = readLittleEndian32(&bytes[at + 4]);
        if (at + 8 + size > end) return;
        if (chunk == id("LIST")) {
            forEachChunk(bytes, at + 12, at + 8 + size, visit);
        } else {
            visit(chunk, at, size);
        }
        at += 8 + size + (size & 1);
    }
}

inline void readMovie(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t end, AviContents& out) {
    forEachChunk(bytes, at, end, [&](std::uint32_t, std::size_t chunk, std::size_t size) {
        const std::uint8_t* data = &bytes[chunk + 8];
        if (bytes[chunk + 2] == 'd' && (bytes[chunk + 3] == 'b' || bytes[chunk + 3] == 'c')) {
            out.soundBeforeFrame.push_back(out.sound.size());
            out.frames.emplace_back(data, data + size);
        } else if (bytes[chunk + 2] == 'w' && bytes[chunk + 3] == 'b') {
            out.sound.insert(out.sound.end(), data, data + size);
        }
    });
}

inline void readHeaders(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t end, AviContents& out) {
    forEachChunk(bytes, at, end, [&](std::uint32_t chunk, std::size_t offset, std::size_t size) {
        const std::uint8_t* data = &bytes[offset + 8];
        if (chunk == id("avih") && size >= 20) {
            out.totalFrames = readLittleEndian32(data + 16);
        } else if (chunk == id("strh") && size >= 36) {
            const bool video = readLittleEndian32(data) == id("vids");
            (video ? out.videoLength : out.soundLength) = readLittleEndian32(data + 32);
            if (video) out.framesPerSecond = readLittleEndian32(data + 24) / std::max(1u, readLittleEndian32(data + 20));
        }
    });
}

}  // namespace avi_contents_detail

inline AviContents readAviContents(const std::vector<std::uint8_t>& bytes) {
    using namespace avi_contents_detail;
    AviContents out;
    if (bytes.size() < 12 || readLittleEndian32(bytes.data()) != id("RIFF") || readLittleEndian32(&bytes[8]) != id("AVI "))
        return out;
    const std::size_t end = std::min<std::size_t>(bytes.size(), 8 + std::size_t{readLittleEndian32(&bytes[4])});
    std::size_t at = 12;
    bool sawMovie = false;
    while (at + 12 <= end) {
        const std::size_t size = readLittleEndian32(&bytes[at + 4]);
        if (readLittleEndian32(&bytes[at]) == id("LIST")) {
            const std::uint32_t type = readLittleEndian32(&bytes[at + 8]);
            if (type == id("hdrl")) readHeaders(bytes, at + 12, std::min(end, at + 8 + size), out);
            if (type == id("movi")) {
                readMovie(bytes, at + 12, std::min(end, at + 8 + size), out);
                sawMovie = true;
            }
        }
        at += 8 + size + (size & 1);
    }
    out.valid = sawMovie;
    return out;
}
