#include "archive/FirmInfo.h"

#include "archive/ByteOrder.h"
#include "archive/FileSystem.h"
#include "base/Exception.h"
#include "base/StringTable.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>

namespace {

constexpr unsigned kUnreadableText = 5019;
constexpr unsigned kUnwritableText = 5020;
constexpr unsigned kTimeOutOfRangeText = 5021;
constexpr const wchar_t* kSettingsFileName = L"DREC.INI";
constexpr const wchar_t* kTemporaryPrefix = L"drc";

// Offsets inside one 8-byte record.
constexpr std::size_t kKeyOffset = 0;
constexpr std::size_t kValueOffset = 2;
constexpr std::size_t kCheckOffset = 7;
constexpr std::size_t kHeaderMarkOffset = 0;     // 00 01
constexpr std::size_t kHeaderCodeOffset = 2;     // firmware code, high then low
constexpr std::uint16_t kHeaderMark = 0x0001;

using RawRecord = std::array<std::uint8_t, FirmInfo::kRecordSize>;
static_assert(sizeof(RawRecord) == 8, "settings records are 8 bytes");
static_assert(kValueOffset + FirmInfo::kValueSize == kCheckOffset, "the value fills the record up to its check byte");

std::uint8_t xorOf(const RawRecord& record, std::size_t first, std::size_t last) {
    std::uint8_t check = 0;
    for (std::size_t i = first; i <= last; ++i) check ^= record[i];
    return check;
}

// The header's check leaves out byte 0, a data record's check covers it.
bool isHeader(const RawRecord& record, FirmwareCode code) {
    return readBigEndian16(&record[kHeaderMarkOffset]) == kHeaderMark && record[kHeaderCodeOffset] == code.high &&
           record[kHeaderCodeOffset + 1] == code.low && record[kCheckOffset] == xorOf(record, 1, kCheckOffset - 1);
}

RawRecord headerOf(FirmwareCode code) {
    RawRecord header;
    header.fill(0xFF);
    writeBigEndian16(&header[kHeaderMarkOffset], kHeaderMark);
    header[kHeaderCodeOffset] = code.high;
    header[kHeaderCodeOffset + 1] = code.low;
    header[kCheckOffset] = xorOf(header, 1, kCheckOffset - 1);
    return header;
}

bool hasValidCheck(const RawRecord& record) { return record[kCheckOffset] == xorOf(record, 0, kCheckOffset - 1); }

std::uint8_t bcdByte(int twoDigits) { return static_cast<std::uint8_t>(((twoDigits / 10) << 4) | (twoDigits % 10)); }

// The recorder does not reject nibbles above 9, and neither does the program.
int decodeBcd(const std::uint8_t* bytes, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) value = value * 100 + (bytes[i] >> 4) * 10 + (bytes[i] & 0x0F);
    return value;
}

// The folder that holds path, keeping the separator so that a drive root stays a root.
std::wstring folderOf(const std::wstring& path) {
    std::size_t separator = path.find_last_of(L"\\/");
    if (separator != std::wstring::npos) return path.substr(0, separator + 1);
    std::size_t colon = path.find(L':');
    if (colon != std::wstring::npos) return path.substr(0, colon + 1);
    return L".";
}

bool localTimeOf(std::int64_t time, std::tm& local) {
#ifdef _WIN32
    __time64_t seconds = time;
    return _localtime64_s(&local, &seconds) == 0;
#else
    std::time_t seconds = static_cast<std::time_t>(time);
    return localtime_r(&seconds, &local) != nullptr;
#endif
}

// A temporary file that is removed unless it was moved into place.
class TemporaryFile {
public:
    TemporaryFile(FileSystem& fs, std::wstring path) : fs(fs), path(std::move(path)) {}
    ~TemporaryFile() {
        if (!path.empty()) fs.remove(path);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::wstring& name() const { return path; }
    void moved() { path.clear(); }

private:
    FileSystem& fs;
    std::wstring path;
};

// Replaces target by source. A read-only target cannot be replaced, so its attributes are
// cleared first, and put back when the move fails so that the old file stays as it was.
bool moveOver(FileSystem& fs, const std::wstring& source, const std::wstring& target) {
    std::int64_t previous = fs.attributes(target);
    if (previous >= 0) fs.setNormalAttributes(target);
    if (fs.replace(source, target)) return true;
    if (previous >= 0) fs.setAttributes(target, static_cast<std::uint32_t>(previous));
    return false;
}

}  // namespace

FirmInfo::FirmInfo(FirmwareCode code) : code(code) {}

void FirmInfo::readSettingsFile(const std::wstring& path) { readFile(path, 0); }

void FirmInfo::readFirmwareInfoFile(const std::wstring& path) { readFile(path, kFirmwareInfoPrefixSize); }

void FirmInfo::readFile(const std::wstring& path, std::size_t prefixSize) {
    std::unique_ptr<File> file = FileSystem::current().open(path, FileMode::ReadBinary);
    if (!file) throw FirmInfoException(loadString(kUnreadableText));

    std::array<std::uint8_t, kFirmwareInfoPrefixSize> prefix;
    if (prefixSize > prefix.size() || file->read(prefix.data(), prefixSize) != prefixSize)
        throw FirmInfoException(loadString(kUnreadableText));
    RawRecord raw;
    if (file->read(raw.data(), raw.size()) != raw.size() || !isHeader(raw, code))
        throw FirmInfoException(loadString(kUnreadableText));

    // Damaged records are dropped without a word; once the set is full nothing more is
    // taken, so there is no need to read on.
    std::vector<Record> read;
    while (read.size() < static_cast<std::size_t>(kMaxRecords) && file->read(raw.data(), raw.size()) == raw.size()) {
        if (!hasValidCheck(raw)) continue;
        Record record{readBigEndian16(&raw[kKeyOffset]), {}};
        std::copy_n(raw.begin() + kValueOffset, kValueSize, record.value.begin());
        read.push_back(record);
    }
    records = std::move(read);
}

bool FirmInfo::contains(std::uint16_t key) const { return lookUp(key) != nullptr; }

const FirmInfo::Record* FirmInfo::lookUp(std::uint16_t key) const {
    auto found = std::find_if(records.begin(), records.end(), [key](const Record& r) { return r.key == key; });
    return found == records.end() ? nullptr : &*found;
}

FirmInfo::Record* FirmInfo::lookUp(std::uint16_t key) {
    return const_cast<Record*>(static_cast<const FirmInfo&>(*this).lookUp(key));
}

const FirmInfo::Value& FirmInfo::find(std::uint16_t key) const {
    const Record* record = lookUp(key);
    if (!record) throw FirmInfoException(std::wstring());
    return record->value;
}

FirmInfo::Value& FirmInfo::findOrAdd(std::uint16_t key) {
    if (Record* record = lookUp(key)) return record->value;
    Value unused;
    unused.fill(0xFF);
    append(key, unused);
    return records.back().value;
}

void FirmInfo::append(std::uint16_t key, const Value& value) {
    if (records.size() >= static_cast<std::size_t>(kMaxRecords)) throw FirmInfoException(std::wstring());
    records.push_back({key, value});
}

// Writes value as packed BCD of the given number of digits (2 or 4) into the first bytes;
// the bytes the key does not use are 0xFF. Values that do not fit are clamped.
void FirmInfo::setBcd(std::uint16_t key, int value, int digits) {
    int limit = digits == 2 ? 99 : 9999;
    value = std::clamp(value, 0, limit);
    Value& bytes = findOrAdd(key);
    bytes.fill(0xFF);
    for (int i = digits / 2 - 1; i >= 0; --i, value /= 100) bytes[static_cast<std::size_t>(i)] = bcdByte(value % 100);
}

int FirmInfo::bcdOf(std::uint16_t key, int digits) const { return decodeBcd(find(key).data(), digits / 2); }

void FirmInfo::setDateTime(std::int64_t time) {
    std::tm local{};
    if (!localTimeOf(time, local)) throw FirmInfoException(loadString(kTimeOutOfRangeText));
    Value& bytes = findOrAdd(kKeyDateTime);
    bytes = {bcdByte((local.tm_year + 1900) % 100), bcdByte(local.tm_mon + 1), bcdByte(local.tm_mday),
             bcdByte(local.tm_hour), bcdByte(local.tm_min)};
}

void FirmInfo::setThreshold(int hundredthsOfG) {
    setBcd(kKeyThreshold, hundredthsOfG, 4);
    setBcd(kKeyThresholdCompanion1, 10, 2);
    setBcd(kKeyThresholdCompanion2, 20, 2);
    setBcd(kKeyThresholdCompanion3, 4, 2);
}

void FirmInfo::setOperationBuzzer(int volume) { setBcd(kKeyOperationBuzzer, volume, 2); }
void FirmInfo::setEventBuzzer(int volume) { setBcd(kKeyEventBuzzer, volume, 2); }
void FirmInfo::setOverwrite(int overwrite) { setBcd(kKeyOverwrite, overwrite, 2); }
void FirmInfo::setLateralCorrection(int hundredthsOfG) { setBcd(kKeyLateralCorrection, hundredthsOfG, 4); }

// The recorder takes a negative angle as 100 - angle (-5 is stored as 0105).
void FirmInfo::setDirectionAngle(int angle) {
    int stored = angle == kAutomaticAngle ? kAutomaticAngle : angle < 0 ? 100 - angle : angle;
    setBcd(kKeyDirectionAngle, stored, 4);
}

int FirmInfo::threshold() const { return bcdOf(kKeyThreshold, 4); }
int FirmInfo::lateralCorrection() const { return bcdOf(kKeyLateralCorrection, 4); }
int FirmInfo::overwrite() const { return bcdOf(kKeyOverwrite, 2); }
int FirmInfo::operationBuzzer() const { return bcdOf(kKeyOperationBuzzer, 2); }
int FirmInfo::eventBuzzer() const { return bcdOf(kKeyEventBuzzer, 2); }

int FirmInfo::directionAngle() const {
    int stored = bcdOf(kKeyDirectionAngle, 4);
    if (stored == kAutomaticAngle) return kAutomaticAngle;
    int angle = stored > 99 ? 100 - stored : stored;
    return std::abs(angle) >= 46 ? kAutomaticAngle : angle;
}

void FirmInfo::mergeFrom(const std::wstring& path) {
    FirmInfo previous(code);
    try {
        previous.readSettingsFile(path);
    } catch (const Exception&) {
        return;  // no readable old file: nothing to keep
    }
    for (const Record& record : previous.records) {
        if (records.size() >= static_cast<std::size_t>(kMaxRecords)) break;
        if (!contains(record.key)) records.push_back(record);
    }
}

std::vector<std::uint8_t> FirmInfo::fileBytes() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kRecordSize * (records.size() + 1));
    RawRecord header = headerOf(code);
    bytes.insert(bytes.end(), header.begin(), header.end());
    for (const Record& record : records) {
        RawRecord raw;
        writeBigEndian16(&raw[kKeyOffset], record.key);
        std::copy(record.value.begin(), record.value.end(), raw.begin() + kValueOffset);
        raw[kCheckOffset] = xorOf(raw, 0, kCheckOffset - 1);
        bytes.insert(bytes.end(), raw.begin(), raw.end());
    }
    return bytes;
}

bool FirmInfo::writeRecordsTo(const std::wstring& path) const {
    std::unique_ptr<File> file = FileSystem::current().open(path, FileMode::WriteBinary);
    if (!file) return false;
    std::vector<std::uint8_t> bytes = fileBytes();
    bool written = file->write(bytes.data(), bytes.size()) == bytes.size();
    bool closed = file->close();
    return written && closed;
}

bool FirmInfo::fileHoldsRecords(const std::wstring& path) const {
    FirmInfo readBack(code);
    try {
        readBack.readSettingsFile(path);
    } catch (const Exception&) {
        return false;
    }
    return readBack == *this;
}

// The records go to a temporary file beside the target that is verified before it is moved
// over the target: a card that is full, write-protected or pulled out keeps its old file.
void FirmInfo::replaceFile(const std::wstring& path) const {
    FileSystem& fs = FileSystem::current();
    TemporaryFile temporary(fs, fs.createTempFileIn(folderOf(path), kTemporaryPrefix));
    if (temporary.name().empty() || !writeRecordsTo(temporary.name()) || !fileHoldsRecords(temporary.name()) ||
        !moveOver(fs, temporary.name(), path))
        throw IOException(loadString(kUnwritableText));
    temporary.moved();
    // The records are safely in place; a card that refuses the attributes still works.
    fs.setHiddenReadOnly(path);
}

void FirmInfo::writeSettingsFile(const std::wstring& path, bool merge) {
    FirmInfo finished(*this);
    if (merge) finished.mergeFrom(path);
    finished.replaceFile(path);
    records = std::move(finished.records);
}

void FirmInfo::verifySettingsFile(const std::wstring& path) const {
    if (!fileHoldsRecords(path)) throw FirmInfoException(loadString(kUnwritableText));
}

void FirmInfo::writeDefaultSettingsFile(const std::wstring& folder, FirmwareCode code) {
    FirmInfo defaults(code);
    defaults.setOperationBuzzer(0);
    defaults.setThreshold(45);
    // The factory file carries the companion values in their two-byte form.
    defaults.setBcd(kKeyThresholdCompanion1, 100, 4);
    defaults.setBcd(kKeyThresholdCompanion2, 200, 4);
    defaults.setBcd(kKeyThresholdCompanion3, 40, 4);
    std::wstring path = joinPath(folder, kSettingsFileName);
    defaults.writeSettingsFile(path, false);
    defaults.verifySettingsFile(path);
}

bool FirmInfo::operator==(const FirmInfo& other) const { return records == other.records; }
