#pragma once
// The read-only view of the open record that the player hands to every panel: the
// record's kind and date-time, the event frame, and one frame record per slot. Nothing
// here fails: indexes outside the table give no record, unknown times are 0.
#include "archive/FrameRecord.h"

#include <cstdint>
#include <string>

class IVideoInfo {
public:
    virtual std::wstring formatIdentifier() const = 0;
    virtual std::wstring longFormatIdentifier() const = 0;
    // A RecordKind value; NoDetection when the event could not be confirmed.
    virtual int recordKind() const = 0;
    // Slot of the event frame, -1 when there is none.
    virtual int eventIndex() const = 0;
    // The record at the event index, or nullptr. Read, never freed, by the caller.
    virtual const FrameRecord* eventFrame() const = 0;
    virtual double eventGFirst() const = 0;
    virtual double eventGSecond() const = 0;
    virtual int slotCount() const = 0;
    // The record of a slot, or nullptr for an index outside the table or an empty slot.
    virtual const FrameRecord* frameAt(int index) const = 0;
    // 1 when every slot has a picture of its own; otherwise pairs of slots share one and
    // the player asks for the even slot at or below the current one.
    virtual int slotsPerPicture() const = 0;
    // True when the recorder left out the frame information (the info panel then explains
    // why date and time are missing).
    virtual bool informationMissing() const = 0;
    // Time values (seconds since 1970 UTC made from the recorder's local time); 0 unknown.
    virtual std::int64_t firstTime() const = 0;
    virtual std::int64_t lastTime() const = 0;
    virtual std::int64_t recordTime() const = 0;
    virtual ~IVideoInfo() = default;

protected:
    IVideoInfo() = default;
    IVideoInfo(const IVideoInfo&) = default;
    IVideoInfo& operator=(const IVideoInfo&) = default;
};
