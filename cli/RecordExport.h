#pragma once
// What scenova-cli export writes, shared by the export of one file and of a continuous folder.
#include <functional>
#include <string>
#include <vector>

class AviRecordWriter;
class FrameOverlay;
class RecordFile;
class StagingFolder;

// Runs an export into out and returns its exit status. write fills a staging folder (given
// the overlay when asked for), which becomes out only when everything was written; an out
// that holds files is refused, since an export never replaces user files. On any failure the
// message goes to standard error and nothing is left behind.
int exportStaged(const std::wstring& out, bool overlay,
                 const std::function<bool(StagingFolder& staging, FrameOverlay* overlay, std::wstring& error)>& write);

// Writes what export FILE writes for the open record into folder (relative to the staging
// folder; empty for its top): sound.wav, frames\NNNN.jpg, telemetry.csv and record.avi, the
// video with overlay burned in when it is not null. Every slot also goes to the joined writers.
bool writeRecordExport(RecordFile& record, StagingFolder& staging, const std::wstring& folder, FrameOverlay* overlay,
                       const std::vector<AviRecordWriter*>& joined, std::wstring& error);

// scenova-cli export FOLDER --out DIR [--overlay] on a continuous folder.
int runFolderExport(const std::wstring& folder, const std::wstring& out, bool overlay);
