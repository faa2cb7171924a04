#pragma once
// The text form of the settings file (described in docs/settings-file.md):
// parsing and writing, apart from any file access, so tests and the fuzzer can
// feed it bytes directly.

#include "settings/SettingsStore.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vocalore {

struct TSettingsSection {
    std::string KeyPath;
    std::vector<std::pair<std::string, TStoredValue>> Values; // in file order, names unique

    const TStoredValue* Find(std::string_view name) const;
    void Set(std::string_view name, TStoredValue value);

    // Position in Values by ASCII lower-case name, so that a file with tens
    // of thousands of values loads and saves in linear time; rebuilt when
    // Values was changed directly.
    mutable std::unordered_map<std::string, size_t> Index = {};
    const size_t* Position(std::string_view name) const;
};

struct TSettingsDocument {
    std::vector<TSettingsSection> Sections; // key paths unique

    TSettingsSection* Find(std::string_view keyPath);
    const TSettingsSection* Find(std::string_view keyPath) const;
    TSettingsSection& FindOrAdd(std::string_view keyPath);
};

inline constexpr const char* SettingsFileMagic = "Vocalore settings 1";
// Files larger than this are not read (they cannot be ours).
inline constexpr size_t MaxSettingsFileSize = 16u << 20;

// Nothing when the text is not a well-formed settings file: one bad line makes
// the whole file count as damaged.
std::optional<TSettingsDocument> ParseSettingsFile(std::string_view text);
// A value that the text form cannot hold (an integer not of 4 bytes, a string
// without its terminating zero) is written as binary.
std::string FormatSettingsFile(const TSettingsDocument& document);

} // namespace vocalore
