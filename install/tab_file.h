// The open install archive: its header values and its file records in memory, with
// the file handle kept open so that the installer can read each file's contents.
#pragma once

#include <cstdint>

#include "install/tab_format.h"
#include "base/fixed_string.h"
#include "platform/processes.h"

struct Launcher;

// A file's last-write time in UTC as the archive keeps it; the day comes before the
// day of the week.
struct TABFileTime {
  std::uint16_t Year;
  std::uint16_t Month;
  std::uint16_t Day;
  std::uint16_t DayOfWeek;
  std::uint16_t Hour;
  std::uint16_t Minute;
  std::uint16_t Second;
  std::uint16_t Milliseconds;
};

// A file record in memory: the archive's 100-byte record without its last 12 bytes.
// The texts are always terminated within their fields; an empty name marks an unused
// record.
struct TABFileRecord {
  char FileName[kTABFileNameBytes];
  char Destination[kTABDestinationBytes];
  std::uint32_t DataOffset;
  std::uint32_t Size;
  TABFileTime FileTime;
  std::uint32_t InstallType;
};
static_assert(sizeof(TABFileRecord) == 88, "records are kept in 88 bytes");

struct TABHandle {
  platform::Handle hnd = platform::kInvalidHandle;  // read-only, not shared
  PathBuffer ArchiveName;
  std::uint32_t HeaderSize = 0;
  std::uint32_t ArchiveSize = 0;
  std::uint16_t FileCount = 0;       // used and unused records alike
  std::uint32_t FilesArraySize = 0;  // FileCount x 88
  TABFileRecord* Files = nullptr;    // record i of the table at index i
};

// Fills `record` from the first 88 bytes of an archive record, cutting a text that
// fills its whole field to keep the terminator inside it.
void CopyTABFileRecord(const std::uint8_t* raw, TABFileRecord& record);

// Opens tsystem0.dll from the current folder and loads its record table. On failure
// an error record says why, and the handle is left closed with nothing allocated.
bool OpenTABFile(Launcher& l, TABHandle& tHnd);

// Frees the records and closes the archive.
void CloseTABFile(Launcher& l, TABHandle& tHnd);
