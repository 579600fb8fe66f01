// The writer every output file goes through: whole or not at all.

#include "ExportTestSupport.h"

#include "export/ExportFile.h"

#include <cerrno>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace fixtally;
using namespace fixtally::testing;

namespace {

// The names in a folder, to see that no temporary file stays behind.
std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Calls that fail as a full disk, a lost device or a refused rename do. The write lets
// `writable` bytes through (in pieces of at most 1000, as short writes come) and then fails.
struct FailingCalls {
    static inline std::size_t writable = 0;
    static inline int writeError = ENOSPC;
    static inline int syncError = 0, closeError = 0, renameError = 0;

    static ssize_t Write(int fd, const void* data, std::size_t size) {
        if (writable == 0) {
            errno = writeError;
            return -1;
        }
        const std::size_t n = std::min({size, writable, std::size_t{1000}});
        const ssize_t written = ::write(fd, data, n);
        if (written > 0) writable -= static_cast<std::size_t>(written);
        return written;
    }
    static int Sync(int fd) { return syncError ? (errno = syncError, -1) : ::fsync(fd); }
    static int Close(int fd) {
        const int result = ::close(fd);
        return closeError ? (errno = closeError, -1) : result;
    }
    static int Rename(const char* from, const char* to) {
        return renameError ? (errno = renameError, -1) : ::rename(from, to);
    }
    static FileWriteCalls Calls() { return {Write, Sync, Close, Rename}; }
    static void Reset() {
        writable = static_cast<std::size_t>(-1);
        writeError = ENOSPC;
        syncError = closeError = renameError = 0;
    }
};

class ExportFileTest : public ::testing::Test {
protected:
    TempFolder Folder{"fixtally-export"};
    const std::string Target = Folder.Path("out.csv");
    const std::string Old = "TIME,LATITUDE\r\n1,2\r\n3,4\r\n";

    void SetUp() override {
        FailingCalls::Reset();
        std::ofstream(Target, std::ios::binary) << Old;
    }
    std::string FolderPath() const { return std::filesystem::path(Target).parent_path().string(); }
};

TEST_F(ExportFileTest, ReplacesTheTargetWholeAndKeepsItsPermissions) {
    ::chmod(Target.c_str(), 0640);
    std::string big(300 * 1024, 'x'); // several buffers, written in short pieces
    for (std::size_t i = 0; i < big.size(); i += 97) big[i] = '\n';
    ScopedFileWriteCalls calls(FailingCalls::Calls());
    std::string reason;
    EXPECT_EQ(WriteFileWhole(Target, big, &reason), FileWriteOutcome::Written) << reason;
    EXPECT_EQ(ReadWholeFile(Target), big);
    struct stat info {};
    ASSERT_EQ(::stat(Target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(Names(FolderPath()), std::vector<std::string>{"out.csv"});
}

// A failure at any step leaves the old file byte for byte and no temporary file.
TEST_F(ExportFileTest, AFailureAtAnyStepLeavesTheOldFile) {
    struct Case {
        const char* what;
        std::size_t writable;
        int sync, close, rename;
        const char* reason;
    } cases[] = {
        {"disk full halfway", 100 * 1024, 0, 0, 0, "No space left on device"},
        {"disk full at once", 0, 0, 0, 0, "No space left on device"},
        {"sync fails", static_cast<std::size_t>(-1), EIO, 0, 0, "Input/output error"},
        {"close fails", static_cast<std::size_t>(-1), 0, EIO, 0, "Input/output error"},
        {"rename refused", static_cast<std::size_t>(-1), 0, 0, EACCES, "Permission denied"},
    };
    const std::string fresh(250 * 1024, 'n');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FailingCalls::Reset();
        FailingCalls::writable = c.writable;
        FailingCalls::syncError = c.sync;
        FailingCalls::closeError = c.close;
        FailingCalls::renameError = c.rename;
        ScopedFileWriteCalls calls(FailingCalls::Calls());
        std::string reason;
        EXPECT_EQ(WriteFileWhole(Target, fresh, &reason), FileWriteOutcome::WriteFailed);
        EXPECT_EQ(reason, c.reason);
        EXPECT_EQ(ReadWholeFile(Target), Old);
        EXPECT_EQ(Names(FolderPath()), std::vector<std::string>{"out.csv"});
    }
}

TEST_F(ExportFileTest, FoldersThatRefuseTheFileChangeNothing) {
    std::ofstream(Folder.Path("plain-file")) << "x";
    std::filesystem::create_directories(Folder.Path("folder.csv"));
    struct Case {
        std::string path;
        const char* reason;
    } cases[] = {
        {Folder.Path("missing/out.csv"), "No such file or directory"},
        {Folder.Path("plain-file/out.csv"), "Not a directory"},
        {Folder.Path("folder.csv"), "Is a directory"},
        {"", "No such file or directory"},
    };
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_EQ(WriteFileWhole(c.path, "bytes", &reason), FileWriteOutcome::CreateFailed)
            << c.path;
        EXPECT_EQ(reason, c.reason) << c.path;
    }
    EXPECT_TRUE(std::filesystem::is_directory(Folder.Path("folder.csv")));
}

TEST_F(ExportFileTest, AReadOnlyFolderRefusesTheFile) {
    const std::string folder = Folder.Path("locked");
    std::filesystem::create_directories(folder);
    const std::string target = folder + "/out.csv";
    std::ofstream(target) << Old;
    ::chmod(folder.c_str(), 0555);
    // The superuser writes into any folder: the permission test means nothing then.
    const bool ignored = ::access(folder.c_str(), W_OK) == 0;
    if (!ignored) {
        std::string reason;
        EXPECT_EQ(WriteFileWhole(target, "new", &reason), FileWriteOutcome::CreateFailed);
        EXPECT_EQ(reason, "Permission denied");
        EXPECT_EQ(ReadWholeFile(target), Old);
    }
    ::chmod(folder.c_str(), 0755);
    if (ignored) GTEST_SKIP() << "folder permissions do not bind this user";
}

TEST_F(ExportFileTest, ALinkIsWrittenThroughAndAProducerCanGiveUp) {
    const std::string real = Folder.Path("real.csv");
    std::ofstream(real) << Old;
    const std::string link = Folder.Path("link.csv");
    std::filesystem::create_symlink(real, link);
    EXPECT_EQ(WriteFileWhole(link, "new"), FileWriteOutcome::Written);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadWholeFile(real), "new");

    // The producer's own failure drops the file as a failed write does.
    EXPECT_EQ(WriteFileWhole(
                  Target, [](ExportFile& file) { return file.Write("half") && false; }, nullptr),
              FileWriteOutcome::WriteFailed);
    EXPECT_EQ(ReadWholeFile(Target), Old);
    // A file dropped without Commit leaves nothing.
    {
        ExportFile file;
        ASSERT_TRUE(file.Create(Target));
        EXPECT_TRUE(file.Write("unfinished"));
    }
    EXPECT_EQ(ReadWholeFile(Target), Old);
    EXPECT_EQ(Names(FolderPath()), (std::vector<std::string>{"link.csv", "out.csv", "real.csv"}));
}

TEST(SameFileTest, LinksAndNamesOfOneFile) {
    TempFolder folder{"fixtally-export"};
    std::ofstream(folder.Path("log.nmea")) << "$GPGGA";
    std::filesystem::create_symlink(folder.Path("log.nmea"), folder.Path("log.csv"));
    std::filesystem::create_hard_link(folder.Path("log.nmea"), folder.Path("hard.nmea"));
    EXPECT_TRUE(SameFile(folder.Path("log.nmea"), folder.Path("log.csv")));
    EXPECT_TRUE(SameFile(folder.Path("log.nmea"), folder.Path("hard.nmea")));
    EXPECT_TRUE(SameFile(folder.Path("log.nmea"), folder.Path("./log.nmea")));
    EXPECT_FALSE(SameFile(folder.Path("log.nmea"), folder.Path("other.csv")));
}

// A real full disk: a small tmpfs, where the test may mount one (root, mount rights).
TEST(ExportFileOnFullDisk, FullTmpfsKeepsTheOldFile) {
    TempFolder folder{"fixtally-export"};
    const std::string mountPoint = folder.Path("small");
    std::filesystem::create_directories(mountPoint);
    if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount(path.c_str()); }
    } unmount{mountPoint};
    const std::string target = mountPoint + "/out.csv";
    const std::string old(40 * 1024, 'o');
    EXPECT_EQ(WriteFileWhole(target, old), FileWriteOutcome::Written);
    std::string reason;
    EXPECT_EQ(WriteFileWhole(target, std::string(40 * 1024, 'n'), &reason),
              FileWriteOutcome::WriteFailed);
    EXPECT_EQ(reason, "No space left on device");
    EXPECT_EQ(ReadWholeFile(target), old);
    EXPECT_EQ(Names(mountPoint), std::vector<std::string>{"out.csv"});
}

} // namespace
