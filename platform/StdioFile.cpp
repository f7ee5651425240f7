#include "platform/StdioFile.h"

std::size_t StdioFile::read(void* buffer, std::size_t size) {
    return stream && size ? std::fread(buffer, 1, size, stream) : 0;
}

std::size_t StdioFile::write(const void* buffer, std::size_t size) {
    return stream && size ? std::fwrite(buffer, 1, size, stream) : 0;
}

bool StdioFile::seek(std::int64_t offset, int origin) {
    if (!stream) return false;
#ifdef _WIN32
    return _fseeki64(stream, offset, origin) == 0;
#else
    return fseeko(stream, static_cast<off_t>(offset), origin) == 0;
#endif
}

std::int64_t StdioFile::tell() {
    if (!stream) return -1;
#ifdef _WIN32
    return _ftelli64(stream);
#else
    return static_cast<std::int64_t>(ftello(stream));
#endif
}

bool StdioFile::close() {
    if (!stream) return true;
    bool ok = std::fclose(stream) == 0;
    stream = nullptr;
    return ok;
}
