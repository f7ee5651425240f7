#include "archive/VideoInfo07.h"

#include "archive/VideoArchive.h"

int VideoInfo07::recordKind() const { return archive->recordInformation().recordKind; }

int VideoInfo07::eventIndex() const { return archive->eventIndex(); }

const FrameRecord* VideoInfo07::eventFrame() const {
    const int index = archive->eventIndex();
    if (index < 0 || index >= archive->slotCount()) return nullptr;
    return archive->frameAt(index);
}

double VideoInfo07::eventGFirst() const { return archive->recordInformation().eventGFirst; }

double VideoInfo07::eventGSecond() const { return archive->recordInformation().eventGSecond; }

int VideoInfo07::slotCount() const { return archive->slotCount(); }

const FrameRecord* VideoInfo07::frameAt(int index) const {
    if (index < 0 || index >= archive->slotCount()) return nullptr;
    return archive->frameAt(index);
}

std::int64_t VideoInfo07::firstTime() const { return archive->firstTime(); }

std::int64_t VideoInfo07::lastTime() const { return archive->lastTime(); }

std::int64_t VideoInfo07::recordTime() const { return archive->recordTime(); }
