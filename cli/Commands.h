#pragma once
// The sub-commands of scenova-cli. Each takes the arguments after its own name and
// returns the process exit status: 0 done, 2 unreadable input, 64 bad arguments.
#include <string>
#include <vector>

using Arguments = std::vector<std::wstring>;

constexpr int kExitOk = 0;
constexpr int kExitUnreadable = 2;
constexpr int kExitUsage = 64;

int runInfo(const Arguments& args);
int runExport(const Arguments& args);
int runSettings(const Arguments& args);

// Console output in UTF-8, whatever the console's code page.
void writeOut(const std::string& utf8);
void writeError(const std::wstring& text);
std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);
int usage();
