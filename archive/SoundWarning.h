#pragma once
// The one message the recording archive shows itself: the temporary sound file could not
// be made. The archive stays free of window code; the program installs a handler that shows
// a message box without owner, tests install one that records the call.
#include <functional>
#include <string>

class SoundWarning {
public:
    using Handler = std::function<void(const std::wstring& message, const std::wstring& caption)>;

    // Replaces the process-wide handler; an empty handler shows nothing.
    static void install(Handler handler);
    // Called by the archive: message string 5501, caption 5005.
    static void show();
};
