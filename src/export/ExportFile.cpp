#include "export/ExportFile.h"

#include "convert/Conversions.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fixtally {

namespace {

// The position of the extension's ".", or npos when the file name has none.
std::size_t ExtensionStart(std::string_view path) {
    std::size_t dot = path.find_last_of('.');
    std::size_t slash = path.find_last_of('/');
    if (dot == std::string_view::npos) return dot;
    if (slash != std::string_view::npos && dot < slash) return std::string_view::npos;
    return dot;
}

} // namespace

std::string TrackCsvPath(std::string_view logFileName) {
    std::size_t dot = ExtensionStart(logFileName);
    std::string_view base = logFileName.substr(0, dot);
    std::string path(base);
    if (dot != std::string_view::npos && EqualsIgnoringCase(logFileName.substr(dot), ".csv"))
        path += "_s";
    path += ".csv";
    return path;
}

std::string AveragedCsvPath(std::string_view logFileName, std::string_view span,
                            std::string_view step, const std::string* limit) {
    std::string path(logFileName.substr(0, ExtensionStart(logFileName)));
    path += '-';
    path += span;
    path += 'h';
    path += step;
    path += 'h';
    if (limit) {
        path += *limit;
        path += 'm';
    }
    path += ".csv";
    return path;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

namespace {

ssize_t WriteCall(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

FileWriteCalls& Calls() {
    static FileWriteCalls calls = DefaultFileWriteCalls();
    return calls;
}

// Enough to keep the number of system calls small on long exports.
constexpr std::size_t BufferSize = 64 * 1024;

void AppendNumber(std::string& text, unsigned long value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}

std::string SystemText(int error) {
    return std::strerror(error);
}

// The folder part of a path ("." for a bare name) and the name part.
void SplitPath(const std::string& path, std::string& folder, std::string& name) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        folder = ".";
        name = path;
    } else {
        folder = slash == 0 ? "/" : path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

// Makes the renamed file's entry in its folder last across a power failure. Best effort:
// some file systems cannot sync a folder, and the file itself is complete already.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

} // namespace

FileWriteCalls DefaultFileWriteCalls() {
    return {WriteCall, ::fsync, ::close, ::rename};
}

ScopedFileWriteCalls::ScopedFileWriteCalls(const FileWriteCalls& calls) : previous_(Calls()) {
    Calls() = calls;
}

ScopedFileWriteCalls::~ScopedFileWriteCalls() {
    Calls() = previous_;
}

bool ExportFile::Fail(int error) {
    if (!failed_) error_ = SystemText(error);
    failed_ = true;
    return false;
}

bool ExportFile::Create(const std::string& path) {
    Discard();
    failed_ = false;
    error_.clear();
    buffer_.clear();
    if (path.empty()) return Fail(ENOENT);

    // Through a link to the file it names, so that the link stays.
    std::error_code error;
    target_ = path;
    if (std::filesystem::is_symlink(path, error)) {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
        if (!error) target_ = resolved.string();
    }
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        failed_ = true;
        error_ = S_ISDIR(existing.st_mode) ? SystemText(EISDIR) : "not a regular file";
        return false;
    }

    std::string folder, name;
    SplitPath(target_, folder, name);
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder == "/" ? "/" : folder + "/";
        candidate += '.';
        candidate += name;
        candidate += '.';
        AppendNumber(candidate, static_cast<unsigned long>(::getpid()));
        candidate += '-';
        AppendNumber(candidate, serial++);
        candidate += ".tmp";
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temporary_ = std::move(candidate);
            break;
        }
        if (errno != EEXIST) return Fail(errno);
    }
    if (fd_ < 0) return Fail(EEXIST);
    // A replaced file keeps its permissions.
    if (exists) (void)::fchmod(fd_, existing.st_mode & 07777);
    buffer_.reserve(BufferSize);
    return true;
}

bool ExportFile::WriteOut(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = Calls().Write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return Fail(errno);
        }
        if (written == 0) return Fail(ENOSPC);
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool ExportFile::Write(std::string_view bytes) {
    if (fd_ < 0 || failed_) return false;
    if (buffer_.size() + bytes.size() > BufferSize) {
        if (!WriteOut(buffer_.data(), buffer_.size())) return false;
        buffer_.clear();
        if (bytes.size() >= BufferSize) return WriteOut(bytes.data(), bytes.size());
    }
    buffer_.append(bytes);
    return true;
}

bool ExportFile::Commit() {
    if (fd_ < 0 || failed_) {
        Discard();
        return false;
    }
    bool ok = WriteOut(buffer_.data(), buffer_.size());
    buffer_.clear();
    if (ok && Calls().Sync(fd_) != 0) ok = Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (Calls().Close(fd) != 0 && ok) ok = Fail(errno);
    if (ok && Calls().Rename(temporary_.c_str(), target_.c_str()) != 0) ok = Fail(errno);
    if (!ok) {
        Discard();
        return false;
    }
    temporary_.clear();
    std::string folder, name;
    SplitPath(target_, folder, name);
    SyncFolder(folder);
    return true;
}

void ExportFile::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    buffer_.clear();
}

FileWriteOutcome WriteFileWhole(const std::string& path, std::string_view bytes,
                                std::string* reason) {
    return WriteFileWhole(
        path, [bytes](ExportFile& file) { return file.Write(bytes); }, reason);
}

FileWriteOutcome WriteFileWhole(const std::string& path,
                                const std::function<bool(ExportFile&)>& produce,
                                std::string* reason) {
    ExportFile file;
    if (!file.Create(path)) {
        if (reason) *reason = file.ErrorText();
        return FileWriteOutcome::CreateFailed;
    }
    const bool produced = produce(file);
    if (produced && file.Commit()) return FileWriteOutcome::Written;
    if (reason) *reason = file.ErrorText();
    file.Discard();
    return FileWriteOutcome::WriteFailed;
}

} // namespace fixtally
