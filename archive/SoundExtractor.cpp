#include "archive/SoundExtractor.h"

#include "archive/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace {

const wchar_t kTempPrefix[] = L"obv";

// The sample bytes a chunk really holds: never more than its payload.
std::uint32_t samplesOf(const FrameRecord& chunk) {
    std::uint32_t payload = chunk.payloadSize > 0 ? static_cast<std::uint32_t>(chunk.payloadSize) : 0;
    return std::min(chunk.soundByteCount, payload);
}

// Reads up to count samples of chunk into the buffer, which holds silence where the read
// comes up short.
void readSamples(File& data, const FrameRecord& chunk, std::vector<std::uint8_t>& buffer, std::size_t count) {
    std::fill_n(buffer.begin(), count, SoundExtractor::kSilence);
    std::size_t wanted = std::min<std::size_t>(samplesOf(chunk), count);
    if (wanted > 0 && data.seek(chunk.payloadOffset, SEEK_SET)) data.read(buffer.data(), wanted);
}

}  // namespace

std::vector<std::uint8_t> SoundExtractor::header(std::uint32_t dataSize) {
    std::vector<std::uint8_t> bytes(kWavHeaderSize);
    std::uint8_t* h = bytes.data();
    std::memcpy(h + 0, "RIFF", 4);
    writeLittleEndian32(h + 4, 36 + dataSize);
    std::memcpy(h + 8, "WAVE", 4);
    std::memcpy(h + 12, "fmt ", 4);
    writeLittleEndian32(h + 16, 16);
    writeLittleEndian16(h + 20, 1);  // PCM
    writeLittleEndian16(h + 22, 1);  // one channel
    writeLittleEndian32(h + 24, kSamplesPerSecond);
    writeLittleEndian32(h + 28, kSamplesPerSecond);  // bytes per second
    writeLittleEndian16(h + 32, 1);  // block alignment
    writeLittleEndian16(h + 34, 8);  // bits per sample
    std::memcpy(h + 36, "data", 4);
    writeLittleEndian32(h + 40, dataSize);
    return bytes;
}

std::unique_ptr<File> SoundExtractor::create(std::wstring& name) {
    FileSystem& fs = FileSystem::current();
    name = fs.createTempFile(kTempPrefix);
    if (name.empty()) return nullptr;
    std::unique_ptr<File> output = fs.open(name, FileMode::WriteBinaryExclusive);
    if (!output) return nullptr;
    // Both sizes stay 0 until the sound is written.
    std::vector<std::uint8_t> unfinished = header(0);
    writeLittleEndian32(unfinished.data() + 4, 0);
    if (output->write(unfinished.data(), unfinished.size()) != unfinished.size()) return nullptr;
    return output;
}

bool SoundExtractor::write(File& data, File& output, std::vector<FrameRecord> chunks) {
    // Stable: equal time stamps keep their file order.
    std::stable_sort(chunks.begin(), chunks.end(),
                     [](const FrameRecord& a, const FrameRecord& b) { return a.timeStamp < b.timeStamp; });
    std::uint32_t written = 0;
    std::vector<std::uint8_t> buffer(kBlockSize);
    // A full or failing drive: everything after the first short write is pointless.
    auto writeBlock = [&](std::size_t count) {
        if (output.write(buffer.data(), count) != count) return false;
        written += static_cast<std::uint32_t>(count);
        return true;
    };
    if (!chunks.empty()) {
        const std::uint32_t base = chunks.front().timeStamp;
        auto beyond = std::find_if(chunks.begin(), chunks.end(), [base](const FrameRecord& chunk) {
            return chunk.timeStamp - base > kMaxSpanMilliseconds;
        });
        chunks.erase(beyond, chunks.end());

        for (std::size_t i = 0; i + 1 < chunks.size(); ++i) {
            std::int64_t due = static_cast<std::int64_t>(chunks[i + 1].timeStamp - base) * kSamplesPerSecond / 1000;
            std::int64_t gap = due - written;
            // The recorder's chunks overlap by a few samples; a chunk that starts before the
            // end of what is written already loses its own samples.
            if (gap <= 16) continue;
            std::size_t first = static_cast<std::size_t>(std::min<std::int64_t>(gap, kBlockSize));
            readSamples(data, chunks[i], buffer, first);
            if (!writeBlock(first)) return false;
            std::int64_t remainder = gap - static_cast<std::int64_t>(first);
            std::fill(buffer.begin(), buffer.end(), kSilence);
            while (remainder > 0) {
                std::size_t block = static_cast<std::size_t>(std::min<std::int64_t>(remainder, kBlockSize));
                if (!writeBlock(block)) return false;
                remainder -= static_cast<std::int64_t>(block);
            }
        }
        const FrameRecord& last = chunks.back();
        std::size_t count = std::min<std::size_t>(last.soundByteCount, kBlockSize);
        readSamples(data, last, buffer, count);
        if (!writeBlock(count)) return false;
    }

    std::vector<std::uint8_t> finished = header(written);
    const bool headerWritten = output.seek(0, SEEK_SET) && output.write(finished.data(), finished.size()) == finished.size();
    // The header and the last samples may still sit in the stream's buffer: only the close
    // tells whether they reached the drive.
    const bool closed = output.close();
    return headerWritten && closed;
}
