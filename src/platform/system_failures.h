#pragma once
// The failures of system calls as the program reports them, shared by
// system_posix.cpp and system_windows.cpp: each maps its own error numbers
// to a Failure and the system's text of the reason.
#include <filesystem>
#include <string>

#include "platform/system.h"

namespace kazuban::platform {

enum class Failure { NotFound, PathNotFound, AccessDenied, Other };

// The common reasons of a failure, which messages give in Japanese.
enum class Reason { NoPermission, DiskFull, ReadOnly, InUse, PathTooLong, NotFound, Other };
// The Japanese text of a reason; `systemText` (the system's own) for Other.
std::string reasonText(Reason reason, const std::string& systemText);

// Opening, reading or writing a file failed.
[[noreturn]] void throwFileFailure(Failure kind, const std::string& reason, const std::filesystem::path& path,
                                   bool writing);
// The temporary file of an atomic write could not be made in `folder`.
[[noreturn]] void throwFolderFailure(Failure kind, const std::string& reason, const std::filesystem::path& folder,
                                     const std::filesystem::path& path);
[[noreturn]] void throwNotOrdinaryFile(const std::filesystem::path& path);
// The target of a write is a folder, a device, a pipe or a socket.
[[noreturn]] void throwNotOrdinaryTarget(const std::filesystem::path& path);
[[noreturn]] void throwTooLarge(const std::filesystem::path& path);
[[noreturn]] void throwChangedMeanwhile(const std::filesystem::path& path);
[[noreturn]] void throwDeleteFailure(Failure kind, const std::string& reason, const std::filesystem::path& path);
[[noreturn]] void throwDeleteFolder(const std::filesystem::path& path);
[[noreturn]] void throwStartFailure(Failure kind, const std::string& reason, const std::string& program);

// Adds to the count bytesReadFromFiles() gives.
void countBytesRead(unsigned long long n);
// Tells the recorder of setWriteStepRecorder, if any, that a step is done.
void noteWriteStep(WriteStep step);

}  // namespace kazuban::platform
