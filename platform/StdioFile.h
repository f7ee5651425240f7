#pragma once
// A File over a C stream; closes the stream when destroyed.
#include "archive/FileSystem.h"

#include <cstdio>

class StdioFile : public File {
public:
    explicit StdioFile(std::FILE* stream) : stream(stream) {}
    ~StdioFile() override { close(); }

    std::size_t read(void* buffer, std::size_t size) override;
    std::size_t write(const void* buffer, std::size_t size) override;
    bool seek(std::int64_t offset, int origin) override;
    std::int64_t tell() override;
    bool close() override;

private:
    std::FILE* stream;
};
