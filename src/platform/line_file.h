#pragma once
// Line files (atarimgrp.txt, Kazuban.ini, combination files) and every write
// the program makes. Reading accepts cp932 or UTF-8 (UTF-8 when the bytes are
// valid UTF-8 or begin with a BOM) and lines ended by CR LF, LF or a lone CR.
// Writing is cp932 and atomic: a temporary file in the same folder renamed
// over the target, so a failure leaves the old file whole.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"
#include "text/line_text.h"

namespace kazuban::platform {

// cp932 <-> UTF-8. encodeCp932 throws AppError (kInvalidCall) naming the first
// character that cp932 cannot hold. decodeCp932 never throws: an invalid byte
// becomes U+FFFD.
std::string encodeCp932(std::string_view utf8);
std::string decodeCp932(std::string_view bytes);
// Bytes of a file as UTF-8 text (BOM removed).
std::string decodeFileBytes(std::string_view bytes);

// Throws AppError (kPathFileAccess) naming the file when its bytes are
// UTF-16 or UTF-32 (text::wideTextOf), which no reader of the program takes.
void refuseWideText(std::string_view bytes, const std::filesystem::path& path);

// Whole file as bytes. Throws AppError: kFileNotFound, kPermissionDenied,
// kPathFileAccess (a folder, a read error, anything but an ordinary file such
// as a pipe or a device, a file above 1 GB).
std::string readFileBytes(const std::filesystem::path& path);
// readFileBytes + refuseWideText + decodeFileBytes + splitLines.
std::vector<std::string> readLines(const std::filesystem::path& path);

// The first `maxLines` lines of a file, read as readLines reads them (the
// encoding is judged on those lines). Later lines are neither decoded nor
// kept, so a huge file costs no more memory than the lines a reader uses.
// A UTF-16 or UTF-32 file is refused as refuseWideText refuses it.
// A line longer than text::kMaxLineBytes keeps only its first part. With
// countRest the whole file is read to count the later lines that hold text.
struct FirstLines {
    std::vector<std::string> lines;
    bool restIsBlank = true;        // every later line holds only blanks and tabs, or there is none
    std::size_t restTextLines = 0;  // with countRest: the later lines with more than blanks and tabs
};
FirstLines readFirstLines(const std::filesystem::path& path, std::size_t maxLines, bool countRest = false);

// Writes bytes atomically (see replaceFileAtomically in system.h for the
// kinds of failure).
void writeFileAtomic(const std::filesystem::path& path, std::string_view bytes);
// Several files that change together or not at all: every new file is
// written first; then they replace their targets in order, and when one
// replacement fails the targets already replaced get their old files back
// (a file that did not exist is removed again). Throws as writeFileAtomic; a
// failure to put an old file back is added to the message.
struct FileWrite {
    std::filesystem::path path;
    std::string bytes;
};
void writeFilesAtomic(const std::vector<FileWrite>& files);
// Encodes UTF-8 text as cp932 (nothing is written when that fails), then writes it atomically.
void writeTextCp932(const std::filesystem::path& path, std::string_view utf8);
// Each line followed by CR LF, cp932, atomic.
void writeLinesCp932(const std::filesystem::path& path, const std::vector<std::string>& lines);

// Test seam for fault injection: when set, called before the rename with the
// temporary path; throwing from it simulates a failing disk.
void setWriteFaultHook(WriteFaultHook hook);

}  // namespace kazuban::platform
