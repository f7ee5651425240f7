// scenova-cli: reads recorder files into ordinary formats (JSON, JPEG, WAV, CSV, AVI).
#include "cli/Commands.h"

#include <windows.h>

#include <cstdio>
#include <map>

std::string toUtf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring fromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

void writeOut(const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void writeError(const std::wstring& text) {
    std::string bytes = toUtf8(text) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
}

int usage() {
    writeError(L"usage: scenova-cli info FILE|FOLDER...\n"
               L"       scenova-cli export FILE|FOLDER --out DIR [--overlay]\n"
               L"       scenova-cli settings FILE");
    return kExitUsage;
}

int wmain(int argc, wchar_t** argv) {
    using Command = int (*)(const Arguments&);
    const std::map<std::wstring, Command> commands = {
        {L"info", runInfo}, {L"export", runExport}, {L"settings", runSettings}};
    if (argc < 2) return usage();
    auto found = commands.find(argv[1]);
    if (found == commands.end()) return usage();
    Arguments args(argv + 2, argv + argc);
    try {
        return found->second(args);
    } catch (...) {
        // Commands report their own failures; anything else is still no crash.
        writeError(L"scenova-cli: unexpected failure");
        return kExitUnreadable;
    }
}
