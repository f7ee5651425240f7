#pragma once
// The floor for opening a record: reading every chunk header of the file exactly as the
// archive's scan does (one 64-byte header, a 16-byte look-ahead, a step back, the payload
// skipped), and nothing else: no records, no grid, no sound.
#include <string>

// The number of chunk headers read; -1 when the file cannot be opened.
int walkChunkHeaders(const std::wstring& path);
