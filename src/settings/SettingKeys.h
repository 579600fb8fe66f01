#pragma once

#include "settings/Settings.h"

#include <string_view>

namespace fixtally {

// A setting found by its INI key: exactly one of the pointers is set.
struct SettingRef {
    std::string* Text = nullptr;
    int* Int = nullptr;
    bool* Flag = nullptr;
    explicit operator bool() const { return Text || Int || Flag; }
};

// Finds a key of the sections Option, Reduce and CSVdecimals (case-insensitive).
SettingRef LookupSetting(Settings& settings, std::string_view key);

// Stores a text as the setting's value: text settings take it as it is,
// integers read decimal or "0x" hexadecimal digits, flags read an integer
// (non-zero is true). Returns false when an integer or flag text does not read.
bool AssignSetting(SettingRef ref, std::string_view value);

} // namespace fixtally
