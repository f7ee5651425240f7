#pragma once
// One recorder file named on the command line, opened in an archive the way the viewer
// opens it: an event file, one continuous chapter or one image file.
#include "archive/VideoArchive.h"

#include <string>

enum class RecordFormat { Event, Chapter, Image };

class RecordFile {
public:
    // Recognises the file by its name ("Video.dvt", "VideoNNNN.dmv", "*.dpc"); false when the
    // name is none of them.
    static bool formatOf(const std::wstring& path, RecordFormat& format);
    // The name part of a path.
    static std::wstring nameOf(const std::wstring& path);
    static const char* formatName(RecordFormat format);
    // Slots per second of the grid (0 for an image: one slot, no time axis).
    static int slotsPerSecond(RecordFormat format);

    // Opens path in the archive; throws Exception with the string-table message. A failed
    // sound file is reported on standard error instead of a message box.
    RecordFile(const std::wstring& path, RecordFormat format);
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    VideoArchive& archive() { return data; }
    RecordFormat format() const { return kind; }
    // Samples in the extracted WAV file (its data size); 0 when there is none.
    std::uint32_t soundSamples() const;

private:
    VideoArchive data;
    RecordFormat kind;
};
