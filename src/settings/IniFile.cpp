#include "settings/IniFile.h"

#include "convert/Conversions.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fixtally {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// What one line of the file is.
struct LineInfo {
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed
};

LineInfo Classify(std::string_view line) {
    LineInfo info;
    std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';') return info;
    if (t.front() == '[') {
        t.remove_prefix(1);
        std::size_t close = t.find(']');
        info.kind = LineInfo::Section;
        info.name = Trim(close == std::string_view::npos ? t : t.substr(0, close));
        return info;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return info;
    info.kind = LineInfo::Key;
    info.name = Trim(t.substr(0, eq));
    info.value = Trim(t.substr(eq + 1));
    return info;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

constexpr char32_t Replacement = 0xFFFD;

// UTF-16 to UTF-8; an odd last byte is dropped, unpaired surrogates become U+FFFD.
std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t i) -> char16_t {
        unsigned char a = static_cast<unsigned char>(bytes[2 * i]);
        unsigned char b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a);
    };
    for (std::size_t i = 0; i < units; ++i) {
        char16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 < units) {
                char16_t v = unit(i + 1);
                if (v >= 0xDC00 && v <= 0xDFFF) {
                    AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (v - 0xDC00));
                    ++i;
                    continue;
                }
            }
            AppendUtf8(out, Replacement);
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            AppendUtf8(out, Replacement);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

// Length of the valid UTF-8 sequence at s[i], or 0.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) return 1;
    std::size_t n;
    char32_t min;
    if ((c & 0xE0) == 0xC0) {
        n = 2;
        min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3;
        min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    char32_t cp = c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = cp << 6 | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

bool IsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = Utf8SequenceLength(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string Latin1ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (char c : s) AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

// Appends the UTF-8 text as UTF-16 LE; invalid bytes are written as U+FFFD.
void AppendUtf16Le(std::string& out, std::string_view s) {
    auto put = [&](char32_t u) {
        out += char(u & 0xFF);
        out += char((u >> 8) & 0xFF);
    };
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = Utf8SequenceLength(s, i);
        char32_t cp;
        if (n == 0) {
            cp = Replacement;
            n = 1;
        } else {
            cp = static_cast<unsigned char>(s[i]) & (n == 1 ? 0x7F : 0x7F >> n);
            for (std::size_t k = 1; k < n; ++k) cp = cp << 6 | (s[i + k] & 0x3F);
        }
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp);
        }
    }
}

std::string WithoutLineBreaks(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

} // namespace

bool ParseIniInteger(std::string_view text, int& value) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text[0] == '-' || text[0] == '+') return false;
    std::int64_t v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
    if (ec != std::errc() || ptr != text.data() + text.size()) return false;
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    value = int(v);
    return true;
}

bool IniFile::Load(const std::string& path) {
    lines_.clear();
    isText_ = true;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    Parse(bytes);
    return true;
}

void IniFile::Parse(std::string_view bytes) {
    lines_.clear();
    auto starts = [&](std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; };
    std::string text;
    if (starts("\xFF\xFE")) {
        text = DecodeUtf16(bytes.substr(2), false);
    } else if (starts("\xFE\xFF")) {
        text = DecodeUtf16(bytes.substr(2), true);
    } else if (starts("\xEF\xBB\xBF")) {
        std::string_view body = bytes.substr(3);
        text = IsValidUtf8(body) ? std::string(body) : Latin1ToUtf8(body);
    } else if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0') {
        text = DecodeUtf16(bytes, false); // UTF-16 LE written without a mark
    } else {
        text = IsValidUtf8(bytes) ? std::string(bytes) : Latin1ToUtf8(bytes);
    }

    // CR LF, LF and CR each end a line; NUL characters are dropped.
    std::string line;
    isText_ = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        // Tab, line ends, NUL and the DOS end-of-file mark occur in text files.
        if ((byte < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != '\0' && c != '\x1a') ||
            byte == 0x7F)
            isText_ = false;
        if (c == '\r' || c == '\n') {
            lines_.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c != '\0') {
            line += c;
        }
    }
    if (!line.empty()) lines_.push_back(std::move(line));
}

long IniFile::FindKey(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        LineInfo info = Classify(lines_[i]);
        if (info.kind == LineInfo::Section)
            inSection = EqualsIgnoringCase(info.name, section);
        else if (inSection && info.kind == LineInfo::Key && EqualsIgnoringCase(info.name, key))
            return long(i);
    }
    return -1;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue, bool* found) const {
    long i = FindKey(section, key);
    if (found) *found = i >= 0;
    if (i < 0) return std::string(defaultValue);
    return std::string(Classify(lines_[std::size_t(i)]).value);
}

int IniFile::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
    long i = FindKey(section, key);
    if (i < 0) return defaultValue;
    int value = 0;
    return ParseIniInteger(Classify(lines_[std::size_t(i)]).value, value) ? value : defaultValue;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInt(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
    return FindKey(section, key) >= 0;
}

std::vector<std::pair<std::string, std::string>>
IniFile::ReadSection(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    bool inSection = false;
    for (const std::string& line : lines_) {
        LineInfo info = Classify(line);
        if (info.kind == LineInfo::Section)
            inSection = EqualsIgnoringCase(info.name, section);
        else if (inSection && info.kind == LineInfo::Key)
            entries.emplace_back(std::string(info.name), std::string(info.value));
    }
    return entries;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string name = WithoutLineBreaks(Trim(key));
    if (name.empty() || name.find('=') != std::string::npos || name.front() == '[' ||
        name.front() == ';')
        return;
    const std::string cleanValue = WithoutLineBreaks(value);

    long existing = FindKey(section, name);
    if (existing >= 0) {
        // Keep the key's spelling as found in the file.
        std::string_view old = Trim(lines_[std::size_t(existing)]);
        std::string_view oldName = Trim(old.substr(0, old.find('=')));
        lines_[std::size_t(existing)] = std::string(oldName) + "=" + cleanValue;
        return;
    }

    // After the last non-blank line of the first section of that name.
    long sectionLine = -1, insertAfter = -1;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        LineInfo info = Classify(lines_[i]);
        if (info.kind == LineInfo::Section) {
            if (sectionLine >= 0) break;
            if (EqualsIgnoringCase(info.name, section)) sectionLine = insertAfter = long(i);
        } else if (sectionLine >= 0 && !Trim(lines_[i]).empty()) {
            insertAfter = long(i);
        }
    }
    std::string line = name + "=" + cleanValue;
    if (sectionLine < 0) {
        lines_.push_back("[" + WithoutLineBreaks(section) + "]");
        lines_.push_back(std::move(line));
    } else {
        lines_.insert(lines_.begin() + insertAfter + 1, std::move(line));
    }
}

void IniFile::WriteInt(std::string_view section, std::string_view key, int value) {
    char buffer[16];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;
    WriteString(section, key, std::string_view(buffer, std::size_t(ptr - buffer)));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key) {
    bool removed = false;
    long i;
    while ((i = FindKey(section, key)) >= 0) {
        lines_.erase(lines_.begin() + i);
        removed = true;
    }
    return removed;
}

std::string IniFile::Encode() const {
    std::string out = "\xFF\xFE";
    std::size_t total = 0;
    for (const std::string& line : lines_) total += line.size() + 2;
    out.reserve(2 + 2 * total);
    for (const std::string& line : lines_) {
        AppendUtf16Le(out, line);
        out.append("\r\0\n\0", 4);
    }
    return out;
}

bool IniFile::Save(const std::string& path) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Write through a symbolic link to the file it names.
    fs::path target(path);
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::canonical(target, ec);
        if (ec) return false;
        target = resolved;
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";

    std::string tempName = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(tempName.data());
    if (fd < 0) return false;

    const std::string bytes = Encode();
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno != EINTR) ok = false;
        } else {
            done += std::size_t(n);
        }
    }
    // Keep the old file's permissions; a new file gets the usual ones.
    struct stat old {};
    if (ok) {
        mode_t mode;
        if (::stat(target.c_str(), &old) == 0) {
            mode = old.st_mode & 07777;
        } else {
            mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        ::fchmod(fd, mode);
        ok = ::fsync(fd) == 0;
    }
    if (::close(fd) != 0) ok = false;
    if (ok) ok = ::rename(tempName.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(tempName.c_str());
    return ok;
}

bool CreateIniFileIfMissing(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) return true;
    if (ec && ec != std::errc::no_such_file_or_directory) return false;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return errno == EEXIST;
    bool ok = ::write(fd, "\xFF\xFE", 2) == 2;
    if (::close(fd) != 0) ok = false;
    return ok;
}

} // namespace fixtally
