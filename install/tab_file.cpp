// Opening the install archive: the header is checked, the record table loaded into
// memory, and runs of unused records reported as runs rather than one by one.
//
// Reading is bounded by what was read: a record table that the file does not hold
// in full is refused rather than parsed past its end, and names and destination
// codes that fill their whole field are cut to keep their terminator inside it.
#include "install/tab_file.h"

#include <bit>
#include <cstddef>
#include <cstring>

#include "diag/error_strings.h"
#include "diag/log.h"
#include "install/scoped_release.h"
#include "base/launcher.h"
#include "platform/error_codes.h"
#include "platform/files.h"

// The in-memory record is the archive's record cut after 88 bytes: one copy fills it.
static_assert(std::endian::native == std::endian::little, "the archive's integers are little-endian");
static_assert(offsetof(TABFileRecord, FileName) == kTABFileNameOffset &&
              offsetof(TABFileRecord, Destination) == kTABDestinationOffset &&
              offsetof(TABFileRecord, DataOffset) == kTABDataOffsetOffset &&
              offsetof(TABFileRecord, Size) == kTABSizeOffset &&
              offsetof(TABFileRecord, FileTime) == kTABFileTimeOffset &&
              offsetof(TABFileRecord, InstallType) == kTABInstallTypeOffset);

void CopyTABFileRecord(const std::uint8_t* raw, TABFileRecord& record) {
  std::memcpy(&record, raw, sizeof record);
  // A text that fills its field loses its last character to the terminator.
  record.FileName[sizeof record.FileName - 1] = '\0';
  record.Destination[sizeof record.Destination - 1] = '\0';
}

namespace {

constexpr const char* kHandleLabel = "tHnd->hnd";
constexpr const char* kFilesLabel = "tHnd->Files";
constexpr const char* kBlockLabel = "file record block";

// The largest header size whose table the 16-bit record count can describe; bytes
// after the last whole record do not count.
constexpr std::uint32_t kLargestHeaderSize =
    kTABHeaderBytes + kTABMaxRecords * kTABRecordBytes + (kTABRecordBytes - 1);

void FailedToOpen(Launcher& l, const TABHandle& tHnd, const char* reason) {
  ErrorLog(l, "OpenTABFile: Failed to open archive \"%s\"; %s", tHnd.ArchiveName.c_str(), reason);
}

void FailedToOpenWithError(Launcher& l, const TABHandle& tHnd, const char* reason,
                           platform::ErrorCode error) {
  ErrorDescription description;
  FormatErrorString(l, error, description);
  if (reason) {
    ErrorLog(l, "OpenTABFile: Failed to open archive \"%s\"; %s; %s", tHnd.ArchiveName.c_str(),
             reason, description.c_str());
  } else {
    ErrorLog(l, "OpenTABFile: Failed to open archive \"%s\"; %s", tHnd.ArchiveName.c_str(),
             description.c_str());
  }
}

// Whether the file's size differs from the recorded one. A size the system cannot
// tell, or one beyond 32 bits, never matches.
bool SizeDiffers(Launcher& l, const TABHandle& tHnd) {
  l.os.system.SetLastError(platform::kErrorSuccess);
  std::uint32_t high = 0;
  const std::uint32_t low = l.os.files.GetFileSize(tHnd.hnd, &high);
  if (low == platform::kInvalidFileSize && l.os.system.GetLastError() != platform::kErrorSuccess)
    return true;
  return high != 0 || low != tHnd.ArchiveSize;
}

// Copies the records into Files and reports the runs of unused ones.
void LoadRecords(Launcher& l, TABHandle& tHnd, const std::uint8_t* block) {
  DebugLog(l, "OpenTABFile: Reading %d file records from archive...", tHnd.FileCount);
  // The per-record detail is skipped wholesale when the level does not show it: the
  // table may hold 65,535 records.
  const bool detail = l.log.DebugLevel >= kDeveloperLevel;
  int run_start = 0;  // number of the first unused record of the open run; 0: none
  for (int number = 1; number <= tHnd.FileCount; ++number) {
    TABFileRecord& record = tHnd.Files[number - 1];
    CopyTABFileRecord(block + static_cast<std::size_t>(number - 1) * kTABRecordBytes, record);
    if (record.FileName[0] == '\0') {
      if (run_start == 0) run_start = number;
      continue;
    }
    if (run_start != 0 && detail) {
      DebugLogLevel(l, kDeveloperLevel, "OpenTABFile: File records %d - %d are unused.", run_start,
                    number - 1);
    }
    run_start = 0;
    if (detail) {
      DebugLogLevel(l, kDeveloperLevel,
                    "OpenTABFile: File record %d: FileName=%s Destination=%s Size=%d", number,
                    record.FileName, record.Destination, static_cast<int>(record.Size));
    }
  }
  if (run_start != 0) {
    DebugLog(l, "OpenTABFile: File records %d - %d are unused.", run_start, tHnd.FileCount);
  }
}

}  // namespace

bool OpenTABFile(Launcher& l, TABHandle& tHnd) {
  tHnd.ArchiveName.assign_cut(kTABArchiveName);

  tHnd.hnd = l.os.files.CreateFile(kTABArchiveName, platform::kGenericRead, 0,
                                   platform::kOpenExisting, platform::kFileAttributeNormal);
  const platform::ErrorCode open_error = l.os.system.GetLastError();
  DebugLogLevel(l, kDeveloperLevel, "OpenTABFile: Obtained file handle: %p",
                reinterpret_cast<void*>(tHnd.hnd));
  if (tHnd.hnd == platform::kInvalidHandle) {
    FailedToOpenWithError(l, tHnd, nullptr, open_error);
    return false;
  }
  // From here on every failure closes the handle on its way out.
  ScopedHandle handle(l, tHnd.hnd, kHandleLabel);

  // A file shorter than the header leaves the rest of it zero.
  std::uint8_t header[kTABHeaderBytes] = {};
  std::uint32_t read = 0;
  if (!l.os.files.ReadFile(tHnd.hnd, header, kTABHeaderBytes, &read)) {
    FailedToOpenWithError(l, tHnd, "could not read header", l.os.system.GetLastError());
    return false;
  }
  if (std::memcmp(header, kTABMagic.data(), kTABMagic.size()) != 0) {
    FailedToOpen(l, tHnd, "it has an incorrect file format and may be corrupt.");
    return false;
  }

  tHnd.HeaderSize = ReadLittleEndian32(header + kTABHeaderSizeOffset);
  tHnd.ArchiveSize = ReadLittleEndian32(header + kTABArchiveSizeOffset);
  if (tHnd.ArchiveSize != 0 && SizeDiffers(l, tHnd)) {
    FailedToOpen(l, tHnd, "it has an incorrect file size and may be corrupt.");
    return false;
  }
  // A table longer than the 16-bit record count can hold is as wrong as one shorter
  // than the header.
  if (tHnd.HeaderSize < kTABHeaderBytes || tHnd.HeaderSize > kLargestHeaderSize) {
    FailedToOpen(l, tHnd, "it has an incorrect header size and may be corrupt.");
    return false;
  }
  const std::uint32_t block_size = tHnd.HeaderSize - kTABHeaderBytes;
  if (block_size < kTABRecordBytes) {
    FailedToOpen(l, tHnd, "it has an incorrect file record block size and may be empty or corrupt.");
    return false;
  }

  // Only whole records are read; the bytes after the last one are ignored.
  const std::uint32_t count = block_size / kTABRecordBytes;
  const std::uint32_t records_size = count * kTABRecordBytes;
  std::uint8_t* block = nullptr;
  if (!HeapAllocHlpr(l, &block, records_size, kBlockLabel)) {
    FailedToOpen(l, tHnd, "out of memory during buffer allocation.");
    return false;
  }
  ScopedHeapBlock<std::uint8_t> block_scope(l, block, kBlockLabel);

  tHnd.FileCount = static_cast<std::uint16_t>(count);
  tHnd.FilesArraySize = count * sizeof(TABFileRecord);
  DebugLogLevel(l, kDeveloperLevel, "OpenTABFile: tHnd->FileCount = %d, tHnd->FilesArraySize = %d",
                tHnd.FileCount, static_cast<int>(tHnd.FilesArraySize));
  if (!HeapAllocHlpr(l, &tHnd.Files, tHnd.FilesArraySize, kFilesLabel)) {
    FailedToOpen(l, tHnd, "out of memory during file array allocation.");
    tHnd.FilesArraySize = 0;
    return false;
  }
  ScopedHeapBlock<TABFileRecord> files_scope(l, tHnd.Files, kFilesLabel);

  if (l.os.files.SetFilePointer(tHnd.hnd, static_cast<std::int32_t>(kTABHeaderBytes),
                                platform::kFileBegin) == platform::kInvalidSetFilePointer ||
      !l.os.files.ReadFile(tHnd.hnd, block, records_size, &read)) {
    FailedToOpenWithError(l, tHnd, "could not read header", l.os.system.GetLastError());
    tHnd.FilesArraySize = 0;
    return false;
  }
  if (read != records_size) {
    // The file ends inside its record table.
    FailedToOpenWithError(l, tHnd, "could not read header", platform::kErrorHandleEof);
    tHnd.FilesArraySize = 0;
    return false;
  }

  LoadRecords(l, tHnd, block);
  block_scope.Free();
  files_scope.Keep();
  handle.Keep();
  DebugLog(l, "OpenTABFile: Opened archive \"%s\" (%p) successfully.", tHnd.ArchiveName.c_str(),
           reinterpret_cast<void*>(tHnd.hnd));
  return true;
}

void CloseTABFile(Launcher& l, TABHandle& tHnd) {
  HeapFreeHlpr(l, &tHnd.Files, kFilesLabel);
  tHnd.FilesArraySize = 0;
  DebugLog(l, "CloseTABFile: Closed archive \"%s\" (%p).", tHnd.ArchiveName.c_str(),
           reinterpret_cast<void*>(tHnd.hnd));
  CloseAndDestroyHandle(l, tHnd.hnd, kHandleLabel);
}
