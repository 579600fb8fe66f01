#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace fixtally {

// The file names of the exports, beside the log.
// Track: "track.nmea" -> "track.csv"; a log whose extension is ".csv" in any case keeps
// its name and gets "_s": "track.csv" -> "track_s.csv".
std::string TrackCsvPath(std::string_view logFileName);
// Averaged: the extension replaced by "-" + span + "h" + step + "h" [+ limit + "m"] + ".csv".
std::string AveragedCsvPath(std::string_view logFileName, std::string_view span,
                            std::string_view step, const std::string* limit);

// Whether the two paths name one file (the same file through links counts); false when
// either does not exist.
bool SameFile(const std::string& a, const std::string& b);

// The system calls through which output files are written. Tests replace them to make a
// write, the sync, the close or the rename fail as a full disk or a lost device would.
struct FileWriteCalls {
    ssize_t (*Write)(int fd, const void* data, std::size_t size);
    int (*Sync)(int fd);
    int (*Close)(int fd);
    int (*Rename)(const char* from, const char* to);
};
FileWriteCalls DefaultFileWriteCalls();

// Puts other calls in place for its lifetime.
class ScopedFileWriteCalls {
public:
    explicit ScopedFileWriteCalls(const FileWriteCalls& calls);
    ~ScopedFileWriteCalls();
    ScopedFileWriteCalls(const ScopedFileWriteCalls&) = delete;
    ScopedFileWriteCalls& operator=(const ScopedFileWriteCalls&) = delete;

private:
    FileWriteCalls previous_;
};

// One output file, written whole or not at all. The bytes go to a uniquely named
// temporary file in the target's folder; Commit flushes, syncs and closes it, checking
// every step, and only then renames it over the target. Every failure, and a file that
// is dropped without Commit, removes the temporary file and leaves the target as it was.
// A target that is a link to a file is written through the link.
class ExportFile {
public:
    ExportFile() = default;
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;
    ~ExportFile() { Discard(); }

    // Creates the temporary file for the target; false when the folder refuses it or the
    // target is not a plain file.
    [[nodiscard]] bool Create(const std::string& path);
    // False once any write has failed; later writes do nothing.
    bool Write(std::string_view bytes);
    // Completes the file: true when the target now holds exactly the bytes written.
    [[nodiscard]] bool Commit();
    // Drops the temporary file; the target stays as it was.
    void Discard();

    // The system's reason for the first failure ("No space left on device"), or empty.
    const std::string& ErrorText() const { return error_; }

private:
    bool Fail(int error);
    bool WriteOut(const char* data, std::size_t size);

    int fd_ = -1;
    std::string target_, temporary_;
    std::string buffer_;
    bool failed_ = false;
    std::string error_;
};

// How writing a whole output file ended.
enum class [[nodiscard]] FileWriteOutcome{
    Written,      // the target holds the new bytes
    CreateFailed, // the temporary file could not be made; nothing changed
    WriteFailed,  // a write, the sync, the close or the rename failed; nothing changed
};

// Writes the bytes to path as one file, whole or not at all; reason (when given) gets
// the system's text of a failure.
FileWriteOutcome WriteFileWhole(const std::string& path, std::string_view bytes,
                                std::string* reason = nullptr);
// The same with the bytes produced by a callback that writes into the file; the callback
// returning false (its own failure) drops the file as a failed write does.
FileWriteOutcome WriteFileWhole(const std::string& path,
                                const std::function<bool(ExportFile&)>& produce,
                                std::string* reason = nullptr);

} // namespace fixtally
