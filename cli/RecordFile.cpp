#include "cli/RecordFile.h"

#include "archive/ByteOrder.h"
#include "archive/FirmwareCodeText.h"
#include "archive/NameCheck.h"
#include "archive/RecordCatalog.h"
#include "archive/SoundWarning.h"
#include "cli/Commands.h"

#include <cwctype>

namespace {

constexpr std::size_t kWavHeaderSize = 44;
constexpr std::size_t kWavDataSizeOffset = 40;

bool equalIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i]))) return false;
    }
    return true;
}

}  // namespace

std::wstring RecordFile::nameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool RecordFile::formatOf(const std::wstring& path, RecordFormat& format) {
    const std::wstring name = nameOf(path);
    if (equalIgnoringCase(name, RecordCatalog::kEventPattern)) {
        format = RecordFormat::Event;
    } else if (nameMatchesPattern(RecordCatalog::kChapterPattern, name)) {
        format = RecordFormat::Chapter;
    } else if (nameMatchesPattern(RecordCatalog::kImagePattern, name)) {
        format = RecordFormat::Image;
    } else {
        return false;
    }
    return true;
}

const char* RecordFile::formatName(RecordFormat format) {
    switch (format) {
    case RecordFormat::Event: return "event";
    case RecordFormat::Chapter: return "chapter";
    default: return "image";
    }
}

int RecordFile::slotsPerSecond(RecordFormat format) {
    switch (format) {
    case RecordFormat::Event: return 30;
    case RecordFormat::Chapter: return 10;
    default: return 0;
    }
}

RecordFile::RecordFile(const std::wstring& path, RecordFormat format) : data(currentFirmwareCode()), kind(format) {
    SoundWarning::install([](const std::wstring& message, const std::wstring&) { writeError(message); });
    switch (format) {
    case RecordFormat::Event: data.openEventFile(path); break;
    case RecordFormat::Chapter: data.openChapterFile(path); break;
    case RecordFormat::Image: data.openImageFile(path); break;
    }
}

std::uint32_t RecordFile::soundSamples() const {
    const std::wstring& wav = data.soundFileName();
    if (wav.empty()) return 0;
    std::unique_ptr<File> file = FileSystem::current().open(wav, FileMode::ReadBinary);
    std::uint8_t header[kWavHeaderSize];
    if (!file || file->read(header, sizeof header) != sizeof header) return 0;
    return readLittleEndian32(header + kWavDataSizeOffset);
}
