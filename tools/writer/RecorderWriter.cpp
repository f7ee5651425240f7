#include "tools/writer/RecorderWriter.h"

// Being filled in; the declarations are what other code builds against.
RecorderWriter::RecorderWriter(FirmwareCode firmwareCode) : firmware(firmwareCode) {}
RecorderWriter& RecorderWriter::header(const RecordHeaderFields&, std::uint8_t) { return *this; }
RecorderWriter& RecorderWriter::videoChunk(const FrameFields&, const RgbPicture&) { return *this; }
RecorderWriter& RecorderWriter::videoChunkWithPayload(const FrameFields&, const std::vector<std::uint8_t>&) { return *this; }
RecorderWriter& RecorderWriter::soundChunk(std::uint32_t, const std::vector<std::uint8_t>&, std::size_t) { return *this; }
RecorderWriter& RecorderWriter::chunk(const ChunkFields&, const std::vector<std::uint8_t>&) { return *this; }
RecorderWriter& RecorderWriter::garbage(std::size_t, std::uint32_t) { return *this; }
RecorderWriter& RecorderWriter::append(const std::vector<std::uint8_t>&) { return *this; }
void RecorderWriter::truncate(std::size_t) {}
void RecorderWriter::patch(std::size_t, const std::vector<std::uint8_t>&) {}
bool RecorderWriter::save(const std::wstring&) const { return false; }
std::vector<std::uint8_t> RecorderWriter::recordHeaderBytes(const RecordHeaderFields&) { return {}; }
std::vector<std::uint8_t> RecorderWriter::chunkHeaderBytes(const ChunkFields&, std::uint32_t) { return {}; }
std::vector<std::uint8_t> RecorderWriter::framePayload(const RgbPicture&) const { return {}; }
std::vector<std::uint8_t> bcdBytes(std::uint32_t, int) { return {}; }
std::uint16_t signedBcdG(double) { return 0; }
