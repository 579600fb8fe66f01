#pragma once

#include "settings/Settings.h"

#include <span>
#include <string>
#include <string_view>

namespace fixtally {

enum class SettingKind { Text, Int, Flag };

// What a reading of the INI file does with a key that is not in the file.
enum class WhenMissing {
    KeepValue,        // the value in force stays
    Default,          // the built-in default of Settings
    DefaultWhenEmpty, // the built-in default, also for a key whose value is empty
    ExecutableFolder, // the folder of the running executable
    RunningVersion,   // the version text of the running program
};

// One INI key of the settings. The table of all keys drives the INI reading and writing
// (in the table's order), fixtally-cli's --set and the options dialog.
struct SettingKey {
    std::string_view Section;
    std::string_view Key;
    SettingKind Kind;
    std::string& (*Text)(Settings&) = nullptr;
    int& (*Int)(Settings&) = nullptr;
    bool& (*Flag)(Settings&) = nullptr;
    WhenMissing Missing = WhenMissing::KeepValue;
};

// Every key of the sections Option, Font, Reduce, CSVdecimals and CSVitem in the order
// they are written. The profile sections CSV_Info and CSV_Option are lists of their own.
std::span<const SettingKey> SettingKeyTable();

// A setting found by its INI key: exactly one of the pointers is set.
struct SettingRef {
    std::string* Text = nullptr;
    int* Int = nullptr;
    bool* Flag = nullptr;
    explicit operator bool() const { return Text || Int || Flag; }
};

// The setting of one table entry.
SettingRef SettingOf(const SettingKey& key, Settings& settings);

// Finds a key of the sections Option, Reduce and CSVdecimals (case-insensitive).
SettingRef LookupSetting(Settings& settings, std::string_view key);

// Stores a text as the setting's value: text settings take it as it is,
// integers read decimal or "0x" hexadecimal digits, flags read an integer
// (non-zero is true). Returns false when an integer or flag text does not read.
bool AssignSetting(SettingRef ref, std::string_view value);

} // namespace fixtally
