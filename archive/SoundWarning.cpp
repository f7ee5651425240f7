#include "archive/SoundWarning.h"

#include "base/StringTable.h"

namespace {

constexpr unsigned kSoundRestoreFailed = 5501;
constexpr unsigned kWarningCaption = 5005;

SoundWarning::Handler& currentHandler() {
    static SoundWarning::Handler handler;
    return handler;
}

}  // namespace

void SoundWarning::install(Handler handler) { currentHandler() = std::move(handler); }

void SoundWarning::show() {
    const Handler& handler = currentHandler();
    if (handler) handler(loadString(kSoundRestoreFailed), loadString(kWarningCaption));
}
