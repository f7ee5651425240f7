#pragma once
// The program's one family of failures. Each object carries a complete, user-readable
// message; the class only tells which layer failed, so handlers near the user need
// nothing but message() to inform the user.
#include <string>

class Exception {
public:
    explicit Exception(std::wstring message) : text(std::move(message)) {}
    virtual ~Exception() = default;
    const std::wstring& message() const { return text; }

private:
    std::wstring text;
};

#define SCENOVA_DECLARE_EXCEPTION(Name)                                     \
    class Name : public Exception {                                         \
    public:                                                                 \
        explicit Name(std::wstring message) : Exception(std::move(message)) {} \
    }

SCENOVA_DECLARE_EXCEPTION(IOException);
SCENOVA_DECLARE_EXCEPTION(SystemException);
SCENOVA_DECLARE_EXCEPTION(FirmInfoException);
SCENOVA_DECLARE_EXCEPTION(ImageException);
SCENOVA_DECLARE_EXCEPTION(ImageListViewException);
SCENOVA_DECLARE_EXCEPTION(ThumbnailException);
SCENOVA_DECLARE_EXCEPTION(VideoArchiveException);
SCENOVA_DECLARE_EXCEPTION(WaveAudioException);

#undef SCENOVA_DECLARE_EXCEPTION

// Signals only that the frame information a display needs is absent; its handlers
// skip that display. Deliberately not an Exception: it carries no message.
class DataMissingException {};
