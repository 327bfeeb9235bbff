#pragma once
// One value at a time from and to a private-profile (INI) file, through the
// platform's functions, so this program and the host read the same file the
// same way: sections and keys match without regard to case, a write
// replaces the value where it stands or appends the key to its section.
//
// A file name without a folder is refused (read as absent, never written):
// the platform would look for it in the Windows folder. A null section or key
// is refused too: to the platform it would mean "list the names" or "delete
// the section".
#include <windows.h>

#include <span>
#include <string>
#include <utility>

// The key's text read through a 260-character buffer (at most 259
// characters), or defaultValue (nullptr: empty) when the file, the section
// or the key is missing.
std::string GetIniString(const char* section, const char* key, const char* defaultValue,
                         const std::string& file);

// The key read by GetPrivateProfileIntA: the leading signed integer, 0 when
// the value does not begin with one, defaultValue when it is absent.
int GetIniInt(const char* section, const char* key, int defaultValue, const std::string& file);

// Writes value formatted with "%d".
BOOL WriteIniInt(const char* section, const char* key, int value, const std::string& file);

// Writes the text as it is, up to its first line break and at most 259
// characters, so that a value can never add lines (keys or sections) to the
// file and always reads back whole.
BOOL WriteIniString(const char* section, const char* key, const std::string& value,
                    const std::string& file);

// Writes a whole section, each value as WriteIniString would, in one call
// instead of one per key (the platform rewrites the whole file for each
// call). A section of that name is replaced, not merged into: for files made
// new. Null keys are left out.
BOOL WriteIniSection(const char* section, std::span<const std::pair<const char*, const char*>> keys,
                     const std::string& file);
