#pragma once

#include <cstddef>
#include <iterator>

// The settings file and its keys, each once: start-up reads them through the platform's profile reading, and
// the disc checker, which runs on any platform, reads the same table with the portable INI reader.

// The settings file's name, at the disc root; the browser reads it from the directory it is started in.
inline constexpr char kSettingsFileName[] = "tamo_cd.ini";

enum class Setting {
  kMultiLanguage,
  kLanguage,
  kHelpPolish,
  kHelpCzech,
  kDefaultCopy,
  kCategoryFilePolish,
  kCategoryFileCzech,
  kProgramList,
  kDescriptionPolish,
  kDescriptionCzech,
};

struct SettingsKey {
  Setting setting;
  const char* section;
  const char* key;
  // What a missing file, section or key gives.
  const char* fallback;
  // A file on the disc, made absolute against the start directory as it is read. The default description
  // names are not: they are relative to each program's directory.
  bool isDiscPath;
};

// In the order start-up reads them.
inline constexpr SettingsKey kSettingsKeys[] = {
    {Setting::kMultiLanguage, "other", "multi_lang", "yes", false},
    {Setting::kLanguage, "other", "lang", "pl", false},
    {Setting::kHelpPolish, "files", "help_pl", ".\\tamo_pl.hlp", true},
    {Setting::kHelpCzech, "files", "help_vx", ".\\tamo_cz.hlp", true},
    {Setting::kDefaultCopy, "directories", "def_copy", "c:\\tmp", false},
    {Setting::kCategoryFilePolish, "files", "kat_pl", ".\\kat1.txt", true},
    {Setting::kCategoryFileCzech, "files", "kat_cz", ".\\kat2.txt", true},
    {Setting::kProgramList, "files", "prog", ".\\prog.txt", true},
    {Setting::kDescriptionPolish, "files", "def_opis_pl", "opis\\opis1.txt", false},
    {Setting::kDescriptionCzech, "files", "def_opis_cz", "opis\\opis2.txt", false},
};

constexpr bool SettingsKeysInOrder() {
  for (std::size_t i = 0; i < std::size(kSettingsKeys); ++i) {
    if (static_cast<std::size_t>(kSettingsKeys[i].setting) != i) return false;
  }
  return true;
}
static_assert(SettingsKeysInOrder(), "one row per Setting, in the enumeration's order");

constexpr const SettingsKey& KeyOf(Setting setting) {
  return kSettingsKeys[static_cast<std::size_t>(setting)];
}
