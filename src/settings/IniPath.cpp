#include "settings/IniPath.h"

#include "convert/PathText.h"

#include "convert/Conversions.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fixtally {

namespace fs = std::filesystem;

namespace {

// Creates and removes a uniquely named "$$$" file in the folder.
bool FolderWritable(const std::string& folder) {
    std::string name = folder + "$$$XXXXXX";
    int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(name.c_str());
    return true;
}

// Copies through a temporary file in the target's folder, so that a failed
// copy never leaves a partial INI file behind.
bool CopyOver(const std::string& from, const std::string& to) {
    std::error_code ec;
    std::string temp = to + ".$$$XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    ::close(fd);
    bool ok = fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec) && !ec;
    if (ok) ok = ::rename(temp.c_str(), to.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

} // namespace

std::string ExecutablePath() {
    std::error_code ec;
    fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

std::string FolderOf(std::string_view path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ConfigHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    std::string base = home && home[0] ? home : "";
    if (base.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) base = pw->pw_dir;
    }
    return base + "/.config";
}

std::int64_t IniTimeStamp(const std::string& path) {
    struct statx st {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_MTIME | STATX_BTIME, &st) != 0) return 0;
    auto ns = [](const statx_timestamp& t) {
        return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    std::int64_t stamp = (st.stx_mask & STATX_MTIME) ? ns(st.stx_mtime) : 0;
    if ((st.stx_mask & STATX_BTIME) && ns(st.stx_btime) > stamp) stamp = ns(st.stx_btime);
    return stamp;
}

bool IsIniPath(std::string_view path) {
    std::string name = std::string(FileNameOnly(path));
    std::size_t dot = name.find_last_of('.');
    return dot != std::string::npos &&
           EqualsIgnoringCase(std::string_view(name).substr(dot), ".ini");
}

IniPathResult UsableIniPath(std::string_view path, const std::string& exePath) {
    std::string full(path);
    if (full.find('/') == std::string::npos) full = FolderOf(exePath) + full;
    std::error_code ec;
    fs::path absolute = fs::absolute(full, ec);
    if (!ec) full = absolute.lexically_normal().string();

    if (FolderWritable(FolderOf(full))) return {full, {}};

    const std::string folder = ConfigHome() + "/" + fs::path(exePath).stem().string() + "/";
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) return {{}, "Cannot create : " + folder};

    const std::string moved = folder + std::string(FileNameOnly(full));
    if (fs::exists(full, ec) && IniTimeStamp(full) > IniTimeStamp(moved)) {
        if (!CopyOver(full, moved)) return {{}, "Cannot Copy : " + moved};
    }
    return {moved, {}};
}

IniPathResult DefaultIniPath(const std::vector<std::string>& args, const std::string& exePath) {
    std::string path = fs::path(exePath).replace_extension(".ini").string();
    for (const std::string& arg : args) {
        if (!IsIniPath(arg)) continue;
        if (arg.find('/') != std::string::npos) {
            std::error_code ec;
            fs::path absolute = fs::absolute(arg, ec);
            path = ec ? arg : absolute.lexically_normal().string();
        } else {
            path = FolderOf(exePath) + arg;
        }
        break;
    }
    return UsableIniPath(path, exePath);
}

} // namespace fixtally
