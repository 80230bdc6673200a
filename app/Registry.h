#pragma once
#include <string>

// The one setting, kept where Linux keeps per-user settings: an INI file of
// organisation "KELMARON", application "Brevix" in the user's configuration
// folder (QSettings::setPath moves it, as the tests do). Values are stored as
// text; bytes that are not valid in the local encoding do not survive.

// 1 when the value exists and was read into strValue, else 0 (strValue empty).
int ReadRegistryValue(const char* szValueName, std::string& strValue);
// 1 when the value was written and flushed to disk, else 0.
int WriteRegistryValue(const char* szValueName, const std::string& strText);
