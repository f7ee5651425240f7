#pragma once
// The recorder's settings records. "DREC.INI" in the card's root is what the recorder
// applies when it is next switched on; the program writes it. "FIRMINFO.DAT" is where the
// recorder reports what it currently runs with; the program only reads it. Both files are
// sequences of 8-byte records behind a header record that carries the firmware code, and
// FIRMINFO.DAT has a 16-byte prefix in front of that header.
//
// Failures, for the dialogs and the card restore:
// - reading either file throws FirmInfoException with string 5019;
// - find of a missing key and a 79th record throw FirmInfoException with an empty text;
// - setDateTime outside the calendar the runtime can convert throws FirmInfoException 5021;
// - writeSettingsFile, verifySettingsFile and writeDefaultSettingsFile throw an Exception
//   (IOException or FirmInfoException) whose text is string 5020, ready to be shown.
//   A failed write never touches the card's previous DREC.INI: the records go to a
//   temporary file beside it that is verified and then moved over it, so callers show 5020
//   and must not delete DREC.INI afterwards.
#include "archive/FirmwareCodeText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The keys the program reads and writes.
enum SettingsKey : std::uint16_t {
    kKeyDateTime = 0x0101,          // 5 BCD bytes: year % 100, month, day, hour, minute
    kKeyOperationBuzzer = 0x0301,   // 0 normal, 1 loud, 2 off
    kKeyEventBuzzer = 0x0304,       // same coding
    kKeyThreshold = 0x0801,         // G-sensor threshold, hundredths of G, 4 digits
    kKeyThresholdCompanion1 = 0x0802,  // fixed values the recorder expects beside the threshold
    kKeyThresholdCompanion2 = 0x0803,
    kKeyThresholdCompanion3 = 0x0804,
    kKeyLateralCorrection = 0x0811,    // hundredths of G, 4 digits
    kKeyDirectionAngle = 0x0812,       // degrees, 100 - angle when negative, 8000 automatic
    kKeyOverwrite = 0x1801,            // overwrite of continuous records, 1 yes, 0 no
};

class FirmInfo {
public:
    static constexpr int kMaxRecords = 78;
    static constexpr std::size_t kRecordSize = 8;
    static constexpr std::size_t kValueSize = 5;
    static constexpr std::size_t kFirmwareInfoPrefixSize = 16;
    // The direction angle meaning "let the recorder learn the direction itself".
    static constexpr int kAutomaticAngle = 8000;

    using Value = std::array<std::uint8_t, kValueSize>;

    explicit FirmInfo(FirmwareCode code = currentFirmwareCode());
    virtual ~FirmInfo() = default;
    FirmInfo(const FirmInfo&) = default;
    FirmInfo& operator=(const FirmInfo&) = default;

    // Replace the record set with a file's records; on failure the set stays as it was.
    void readSettingsFile(const std::wstring& path);
    void readFirmwareInfoFile(const std::wstring& path);

    int recordCount() const { return static_cast<int>(records.size()); }
    std::uint16_t keyAt(int index) const { return records.at(static_cast<std::size_t>(index)).key; }
    const Value& valueAt(int index) const { return records.at(static_cast<std::size_t>(index)).value; }
    bool contains(std::uint16_t key) const;

    // The value bytes of the first record with the key.
    const Value& find(std::uint16_t key) const;
    // The same, appending a record of five 0xFF bytes when the key is missing.
    Value& findOrAdd(std::uint16_t key);

    // The recorder's clock takes local time; seconds are dropped.
    void setDateTime(std::int64_t time);
    // Also writes the three companion values that go with a threshold.
    void setThreshold(int hundredthsOfG);
    void setOperationBuzzer(int volume);
    void setEventBuzzer(int volume);
    void setOverwrite(int overwrite);
    void setLateralCorrection(int hundredthsOfG);
    // An angle of -45 to 45 degrees, or kAutomaticAngle.
    void setDirectionAngle(int angle);

    // Decoded values; a missing key throws like find.
    int threshold() const;
    int lateralCorrection() const;
    int overwrite() const;
    int operationBuzzer() const;
    int eventBuzzer() const;
    // The angle in degrees, or kAutomaticAngle for automatic and for magnitudes of 46 or more.
    int directionAngle() const;

    // With merge, records of the existing file whose keys this set lacks are kept after
    // this set's records, in their old order, and this set takes them on. The finished file
    // is hidden and read-only.
    void writeSettingsFile(const std::wstring& path, bool merge);
    // Throws unless the file holds exactly this set's records in this order.
    void verifySettingsFile(const std::wstring& path) const;
    // "DREC.INI" in folder with the recorder's factory settings, as the card restore writes it.
    static void writeDefaultSettingsFile(const std::wstring& folder, FirmwareCode code = currentFirmwareCode());

    bool operator==(const FirmInfo& other) const;
    bool operator!=(const FirmInfo& other) const { return !(*this == other); }

private:
    struct Record {
        std::uint16_t key;
        Value value;
        bool operator==(const Record& other) const { return key == other.key && value == other.value; }
    };

    void readFile(const std::wstring& path, std::size_t prefixSize);
    const Record* lookUp(std::uint16_t key) const;
    Record* lookUp(std::uint16_t key);
    void append(std::uint16_t key, const Value& value);
    void setBcd(std::uint16_t key, int value, int digits);
    int bcdOf(std::uint16_t key, int digits) const;
    void mergeFrom(const std::wstring& path);
    std::vector<std::uint8_t> fileBytes() const;
    bool writeRecordsTo(const std::wstring& path) const;
    bool fileHoldsRecords(const std::wstring& path) const;
    void replaceFile(const std::wstring& path) const;

    FirmwareCode code;
    std::vector<Record> records;
};
