#pragma once
// The per-user settings store: typed values (integer, string, binary) under a
// key path, and the small routines the program reads and writes them with.
// No routine here raises: a failed read gives the caller's default, a failed
// write returns false.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vocalore {

// The key every setting of the program lives under.
inline constexpr const char* SettingsKeyPath = "Software\\Quenwick\\Vocalore\\2.0";

enum class TValueType : uint8_t { vtInteger, vtString, vtBinary };
using enum TValueType;

// One stored value: its type and its exact bytes (an integer is 4 bytes
// little-endian, a string includes its terminating zero byte).
struct TStoredValue {
    TValueType Type = vtBinary;
    std::vector<uint8_t> Data;
    bool operator==(const TStoredValue&) const = default;
};

// Key paths and value names compare without regard to ASCII letter case.
struct TNoCaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// An open key.
class TSettingsKey {
public:
    virtual ~TSettingsKey() = default;
    // The stored bytes of a value, whatever its type; nothing when absent.
    virtual std::optional<TStoredValue> Query(std::string_view name) const = 0;
    virtual bool Set(std::string_view name, TStoredValue value) = 0;
    // Makes the writes durable. Also done by the destructor; true when
    // there was nothing to write or everything was written.
    virtual bool Close() = 0;
};

// A per-user store of keys.
class TSettingsStore {
public:
    virtual ~TSettingsStore() = default;
    // create: make the key if it is missing. Null when the key cannot be opened.
    virtual std::unique_ptr<TSettingsKey> OpenKey(const std::string& keyPath, bool create) = 0;
};

// The portable backend: one text file per user (format in docs/settings-file.md).
// Writes are collected in the open key and reach the file when the key is closed:
// the file is re-read, the written values are applied, and the whole file is
// replaced through a temporary file and a rename. A damaged or unreadable file
// counts as empty.
class TFileSettingsStore : public TSettingsStore {
public:
    // The default location: $XDG_CONFIG_HOME/Vocalore/settings.ini, or
    // $HOME/.config/Vocalore/settings.ini when XDG_CONFIG_HOME is unset or relative.
    TFileSettingsStore();
    explicit TFileSettingsStore(std::string filePath);
    const std::string& FilePath() const { return FFilePath; }
    std::unique_ptr<TSettingsKey> OpenKey(const std::string& keyPath, bool create) override;

private:
    std::string FFilePath;
};

// The default file location from the environment; empty when neither
// XDG_CONFIG_HOME nor HOME gives one.
std::string DefaultSettingsFilePath();

// A store that lives in memory only (tests, and runs that must not touch the
// user's settings).
class TMemorySettingsStore : public TSettingsStore {
public:
    std::unique_ptr<TSettingsKey> OpenKey(const std::string& keyPath, bool create) override;
    // Keys and values as stored; names in the spelling first written.
    using TValues = std::map<std::string, TStoredValue, TNoCaseLess>;
    std::map<std::string, TValues, TNoCaseLess> Keys;
};

// --- the routines the program uses -----------------------------------------
// Every routine accepts a null key: reads then give their default, writes false.

std::unique_ptr<TSettingsKey> OpenSettingsKey(TSettingsStore& store, const std::string& keyPath,
                                              bool create);
// Closes and frees the key; the result of making the writes durable.
bool CloseSettingsKey(std::unique_ptr<TSettingsKey>& key);

// A value of up to 4 bytes is read into a zeroed 4-byte buffer; a longer one fails.
int32_t ReadInteger(const TSettingsKey* key, std::string_view name, int32_t def);
bool ReadBool(const TSettingsKey* key, std::string_view name, bool def);
// The stored bytes up to the first zero byte.
std::string ReadString(const TSettingsKey* key, std::string_view name, const std::string& def);
// Fills the leading bytes of the buffer with the stored value; fails when the
// value is missing or longer than the buffer. storedSize receives the value's size.
bool ReadBinary(const TSettingsKey* key, std::string_view name, void* buffer, size_t size,
                size_t* storedSize = nullptr);

bool WriteInteger(TSettingsKey* key, std::string_view name, int32_t value);
bool WriteBool(TSettingsKey* key, std::string_view name, bool value);
bool WriteString(TSettingsKey* key, std::string_view name, const std::string& value);
bool WriteBinary(TSettingsKey* key, std::string_view name, const void* data, size_t size);

} // namespace vocalore
