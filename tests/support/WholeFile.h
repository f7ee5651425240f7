#pragma once
// Whole files read and written in one call, for tests that check what a program left on disk.
#include <cstdint>
#include <string>
#include <vector>

// The file's bytes, also while another handle has it open for writing; empty when it cannot
// be opened.
std::vector<std::uint8_t> readFileBytes(const std::wstring& path);
std::string readFileText(const std::wstring& path);

// Creates or replaces path with bytes; false when not all of them were written.
bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
