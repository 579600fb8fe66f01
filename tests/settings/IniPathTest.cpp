#include "settings/IniPath.h"
#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace fixtally;
namespace fs = std::filesystem;
using namespace fixtally::test;

namespace {

// A scratch folder that every user may enter.
class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "inipath_XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        ::chmod(path_.c_str(), 0755);
    }
    ~TempDir() {
        std::error_code ec;
        for (auto& e : fs::recursive_directory_iterator(path_, ec))
            if (e.is_directory()) ::chmod(e.path().c_str(), 0755);
        fs::remove_all(path_, ec);
    }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    std::string Str(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

// Runs the checks in a child process without root rights (root may write
// into read-only folders); returns the child's exit code, 0 when all held.
int RunUnprivileged(const std::function<int()>& checks) {
    pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(100);
        ::_exit(checks());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
}

} // namespace

TEST(IniPath, WritableFolderKeepsThePath) {
    TempDir dir;
    fs::create_directory(dir / "bin");
    const std::string exe = dir.Str("bin/fixtally");

    EXPECT_EQ(DefaultIniPath({}, exe).Path, exe + ".ini");
    EXPECT_EQ(DefaultIniPath({"log.nmea", "my.INI", "other.ini"}, exe).Path, dir.Str("bin/my.INI"));
    EXPECT_EQ(UsableIniPath("my.ini", exe).Path, dir.Str("bin/my.ini"));
    EXPECT_EQ(UsableIniPath(dir.Str("bin/../bin/x.ini"), exe).Path, dir.Str("bin/x.ini"));

    // An argument with a folder part is resolved against the current folder.
    const fs::path oldCwd = fs::current_path();
    fs::create_directory(dir / "work");
    fs::create_directory(dir / "work/sub");
    fs::current_path(dir / "work");
    IniPathResult sub = DefaultIniPath({"sub/my.ini"}, exe);
    IniPathResult dotted = UsableIniPath("./sub/../sub/b.ini", exe);
    fs::current_path(oldCwd);
    EXPECT_EQ(sub.Path, dir.Str("work/sub/my.ini"));
    EXPECT_EQ(dotted.Path, dir.Str("work/sub/b.ini"));

    // The writability test leaves nothing behind.
    int entries = 0;
    for (auto& e : fs::directory_iterator(dir / "bin")) (void)e, ++entries;
    EXPECT_EQ(entries, 0);
}

TEST(IniPath, IniExtensionInAnyCase) {
    for (const char* yes : {"a.ini", "A.INI", "dir.x/b.Ini", ".ini"})
        EXPECT_TRUE(IsIniPath(yes)) << yes;
    for (const char* no : {"a.inix", "a.in", "ini", "dir.ini/file", "a.ini.bak", ""})
        EXPECT_FALSE(IsIniPath(no)) << no;
}

TEST(IniPath, ReadOnlyFolderMovesTheFileToTheConfigFolder) {
    TempDir dir;
    fs::create_directory(dir / "bin");
    fs::create_directory(dir / "home");
    ::chmod((dir / "home").c_str(), 0777);
    const std::string exe = dir.Str("bin/fixtally");
    WriteBytes(dir / "bin/fixtally.ini", "original");
    ::chmod((dir / "bin").c_str(), 0555);
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.Str("home/conf"));
    const std::string moved = dir.Str("home/conf/fixtally/fixtally.ini");

    // First start: the folder is created with its parents and the file copied.
    EXPECT_EQ(RunUnprivileged([&] {
                  IniPathResult r = DefaultIniPath({}, exe);
                  if (!r.Ok() || r.Path != moved) return 1;
                  if (ReadWholeFile(moved) != "original") return 2;
                  // The copy is newer now: a later start keeps the user's copy.
                  WriteBytes(moved, "changed");
                  r = UsableIniPath("fixtally.ini", exe);
                  if (r.Path != moved || ReadWholeFile(moved) != "changed") return 3;
                  // A file that is missing beside the executable is not copied.
                  r = UsableIniPath("other.ini", exe);
                  if (r.Path != dir.Str("home/conf/fixtally/other.ini") || fs::exists(r.Path))
                      return 4;
                  return 0;
              }),
              0);

    // The file beside the executable became newer: it is copied again.
    const fs::path original = dir / "bin/fixtally.ini";
    fs::last_write_time(original, fs::last_write_time(moved) + std::chrono::hours(1));
    EXPECT_EQ(RunUnprivileged([&] {
                  IniPathResult r = UsableIniPath("fixtally.ini", exe);
                  return r.Path == moved && ReadWholeFile(moved) == "original" ? 0 : 1;
              }),
              0);
}

TEST(IniPath, ErrorsNameTheFolderOrTheFile) {
    TempDir dir;
    fs::create_directory(dir / "bin");
    const std::string exe = dir.Str("bin/fixtally");
    WriteBytes(dir / "bin/fixtally.ini", "original");
    ::chmod((dir / "bin").c_str(), 0555);

    {
        ScopedEnv xdg("XDG_CONFIG_HOME", dir.Str("bin/conf"));
        EXPECT_EQ(RunUnprivileged([&] {
                      IniPathResult r = UsableIniPath("fixtally.ini", exe);
                      return r.Error == "Cannot create : " + dir.Str("bin/conf/fixtally/") &&
                                     r.Path.empty()
                                 ? 0
                                 : 1;
                  }),
                  0);
    }
    {
        fs::create_directories(dir / "home/fixtally");
        ::chmod((dir / "home/fixtally").c_str(), 0555);
        ScopedEnv xdg("XDG_CONFIG_HOME", dir.Str("home"));
        EXPECT_EQ(RunUnprivileged([&] {
                      IniPathResult r = UsableIniPath("fixtally.ini", exe);
                      return r.Error == "Cannot Copy : " + dir.Str("home/fixtally/fixtally.ini")
                                 ? 0
                                 : 1;
                  }),
                  0);
    }
}

TEST(IniPath, ConfigHomeFallsBackToDotConfig) {
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(ConfigHome(), "/cfg");
    }
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/cfg"); // not absolute: ignored
    EXPECT_EQ(ConfigHome(), "/home/someone/.config");
}

TEST(IniPath, TimeStampOfMissingFileIsZero) {
    TempDir dir;
    EXPECT_EQ(IniTimeStamp(dir.Str("missing.ini")), 0);
    WriteBytes(dir / "a.ini", "x");
    EXPECT_GT(IniTimeStamp(dir.Str("a.ini")), 0);
}
