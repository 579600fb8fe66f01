#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fixtally {

// An INI file held in memory as its lines (UTF-8 here). Sections and keys are
// matched without regard to (ASCII) case; lines that are not touched keep
// their text, so unknown keys, sections, comments and blank lines survive a
// rewrite. The file is always written as UTF-16 little-endian with a
// byte-order mark and CR LF line ends; it is read in that form, as UTF-16
// without a mark, as UTF-16 big-endian with a mark, or as UTF-8/ASCII with or
// without a mark (bytes that are not UTF-8 are taken as Latin-1).
//
// Lines starting with ";" are comments; a line without "=" outside a section
// header is kept but holds no key. When a section appears more than once, a
// key is looked up in all of them (the first one found wins) and new keys go
// into the first.
class IniFile {
public:
    IniFile() = default;

    // Reads the file; false when it does not exist, is no plain file (a folder, a pipe,
    // a device: never waited on) or cannot be read, and the contents are then empty.
    bool Load(const std::string& path);
    // Replaces the contents with the lines of raw file bytes in any accepted form.
    void Parse(std::string_view bytes);
    // False when the last bytes parsed are no text in any accepted form: control
    // characters other than tab, line ends and NUL, as binary files hold.
    bool IsText() const { return isText_; }

    // The value of a key, trimmed; found tells whether the key exists.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue, bool* found = nullptr) const;
    // Decimal or "0x" hexadecimal; anything else (or a missing key) gives the default.
    int ReadInt(std::string_view section, std::string_view key, int defaultValue) const;
    // An integer, non-zero is true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    // Every name=value line of the section(s) in file order, both parts trimmed.
    std::vector<std::pair<std::string, std::string>> ReadSection(std::string_view section) const;

    // Updates the key in place or adds it at the end of its section (the
    // section is added at the end of the file when missing). Line breaks in
    // the value become blanks; an empty key or one holding "=" is not written.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInt(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // Removes every line of the key in the section; true when one was removed.
    bool DeleteKey(std::string_view section, std::string_view key);

    // The file as UTF-16 LE bytes with a byte-order mark and CR LF line ends.
    std::string Encode() const;
    // Writes Encode() to a temporary file beside path and renames it over path,
    // so a failure leaves the old file as it was. False when anything failed.
    bool Save(const std::string& path) const;

    const std::vector<std::string>& Lines() const { return lines_; }

private:
    // Line index of the key in the section, or -1.
    long FindKey(std::string_view section, std::string_view key) const;

    std::vector<std::string> lines_;
    bool isText_ = true;
};

// Creates a file holding only the UTF-16 LE byte-order mark when path does
// not exist, so that the file is written as UTF-16 from then on. False when
// the file is missing and cannot be created.
bool CreateIniFileIfMissing(const std::string& path);

// "0x" hexadecimal or decimal integer with an optional sign, nothing else;
// false when the text is not one or does not fit 32 bits.
bool ParseIniInteger(std::string_view text, int& value);

} // namespace fixtally
