#include "settings/SettingsStore.h"

#include "settings/SettingsFile.h"

#include "core/FileIO.h"
#include "core/VocabError.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vocalore {

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Replaces the file whole: a crash or a full disk leaves the old file intact.
bool WriteSettingsFile(const std::string& path, const std::string& data) {
    std::error_code ec;
    const std::filesystem::path target(path);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ec);
    try {
        ReplaceFile(path, data, TNewFileAccess::OwnerOnly);
        return true;
    } catch (const EVocabFileError&) {
        return false;
    }
}

std::optional<TSettingsDocument> LoadDocument(const std::string& path) {
    // A missing, unreadable, oversized or non-regular file counts as absent.
    try {
        return ParseSettingsFile(ReadWholeFile(path, MaxSettingsFileSize));
    } catch (const EVocabFileError&) {
        return std::nullopt;
    }
}

// A key of the file store: a snapshot of the key's values when it was opened,
// plus the writes still to be made durable.
class TFileSettingsKey : public TSettingsKey {
public:
    TFileSettingsKey(std::string filePath, TSettingsSection snapshot, bool mustCreate)
        : FFilePath(std::move(filePath)), FValues(std::move(snapshot)), FMustCreate(mustCreate) {}
    ~TFileSettingsKey() override { Close(); }

    std::optional<TStoredValue> Query(std::string_view name) const override {
        if (const TStoredValue* v = FValues.Find(name))
            return *v;
        return std::nullopt;
    }

    bool Set(std::string_view name, TStoredValue value) override {
        if (FClosed || name.empty())
            return false;
        FValues.Set(name, value);
        FPending.Set(name, std::move(value));
        return true;
    }

    bool Close() override {
        if (FClosed)
            return FCloseResult;
        FClosed = true;
        if (FPending.Values.empty() && !FMustCreate)
            return FCloseResult = true;
        // Re-read, so values another run wrote meanwhile survive; a damaged
        // file is replaced whole.
        TSettingsDocument doc = LoadDocument(FFilePath).value_or(TSettingsDocument{});
        TSettingsSection& section = doc.FindOrAdd(FValues.KeyPath);
        for (auto& [name, value] : FPending.Values)
            section.Set(name, value);
        return FCloseResult = WriteSettingsFile(FFilePath, FormatSettingsFile(doc));
    }

private:
    std::string FFilePath;
    TSettingsSection FValues;
    TSettingsSection FPending;
    bool FMustCreate;
    bool FClosed = false;
    bool FCloseResult = true;
};

class TMemorySettingsKey : public TSettingsKey {
public:
    explicit TMemorySettingsKey(TMemorySettingsStore::TValues& values) : FValues(values) {}
    std::optional<TStoredValue> Query(std::string_view name) const override {
        auto it = FValues.find(name);
        if (it == FValues.end())
            return std::nullopt;
        return it->second;
    }
    bool Set(std::string_view name, TStoredValue value) override {
        if (name.empty())
            return false;
        auto it = FValues.find(name);
        if (it == FValues.end())
            FValues.emplace(std::string(name), std::move(value));
        else
            it->second = std::move(value);
        return true;
    }
    bool Close() override { return true; }

private:
    TMemorySettingsStore::TValues& FValues;
};

const TStoredValue* Lookup(const TSettingsKey* key, std::string_view name,
                           std::optional<TStoredValue>& holder) {
    if (key == nullptr)
        return nullptr;
    holder = key->Query(name);
    return holder ? &*holder : nullptr;
}

} // namespace

bool TNoCaseLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(AsciiLower(x)) <
               static_cast<unsigned char>(AsciiLower(y));
    });
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

std::string DefaultSettingsFilePath() {
    const std::string folder = XdgProgramFolder("XDG_CONFIG_HOME", ".config");
    return folder.empty() ? std::string() : folder + "/settings.ini";
}

TFileSettingsStore::TFileSettingsStore() : FFilePath(DefaultSettingsFilePath()) {}
TFileSettingsStore::TFileSettingsStore(std::string filePath) : FFilePath(std::move(filePath)) {}

std::unique_ptr<TSettingsKey> TFileSettingsStore::OpenKey(const std::string& keyPath, bool create) {
    if (FFilePath.empty() || keyPath.empty())
        return nullptr;
    auto doc = LoadDocument(FFilePath);
    const TSettingsSection* section = doc ? doc->Find(keyPath) : nullptr;
    if (section != nullptr)
        return std::make_unique<TFileSettingsKey>(FFilePath, *section, false);
    if (!create)
        return nullptr;
    return std::make_unique<TFileSettingsKey>(FFilePath, TSettingsSection{keyPath, {}, {}}, true);
}

std::unique_ptr<TSettingsKey> TMemorySettingsStore::OpenKey(const std::string& keyPath,
                                                            bool create) {
    auto it = Keys.find(keyPath);
    if (it == Keys.end()) {
        if (!create || keyPath.empty())
            return nullptr;
        it = Keys.emplace(keyPath, TValues{}).first;
    }
    return std::make_unique<TMemorySettingsKey>(it->second);
}

std::unique_ptr<TSettingsKey> OpenSettingsKey(TSettingsStore& store, const std::string& keyPath,
                                              bool create) {
    return store.OpenKey(keyPath, create);
}

bool CloseSettingsKey(std::unique_ptr<TSettingsKey>& key) {
    if (!key)
        return false;
    bool ok = key->Close();
    key.reset();
    return ok;
}

int32_t ReadInteger(const TSettingsKey* key, std::string_view name, int32_t def) {
    std::optional<TStoredValue> holder;
    const TStoredValue* v = Lookup(key, name, holder);
    if (v == nullptr || v->Data.size() > 4)
        return def;
    uint8_t b[4] = {0, 0, 0, 0};
    std::copy(v->Data.begin(), v->Data.end(), b);
    return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                                static_cast<uint32_t>(b[2]) << 16 |
                                static_cast<uint32_t>(b[3]) << 24);
}

bool ReadBool(const TSettingsKey* key, std::string_view name, bool def) {
    return ReadInteger(key, name, def ? 1 : 0) != 0;
}

std::string ReadString(const TSettingsKey* key, std::string_view name, const std::string& def) {
    std::optional<TStoredValue> holder;
    const TStoredValue* v = Lookup(key, name, holder);
    if (v == nullptr)
        return def;
    auto zero = std::find(v->Data.begin(), v->Data.end(), uint8_t{0});
    return std::string(v->Data.begin(), zero);
}

bool ReadBinary(const TSettingsKey* key, std::string_view name, void* buffer, size_t size,
                size_t* storedSize) {
    std::optional<TStoredValue> holder;
    const TStoredValue* v = Lookup(key, name, holder);
    if (storedSize != nullptr)
        *storedSize = v != nullptr ? v->Data.size() : 0;
    if (v == nullptr || v->Data.size() > size)
        return false;
    if (!v->Data.empty())
        std::memcpy(buffer, v->Data.data(), v->Data.size());
    return true;
}

bool WriteInteger(TSettingsKey* key, std::string_view name, int32_t value) {
    if (key == nullptr)
        return false;
    auto u = static_cast<uint32_t>(value);
    TStoredValue v{vtInteger,
                   {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                    static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)}};
    return key->Set(name, std::move(v));
}

bool WriteBool(TSettingsKey* key, std::string_view name, bool value) {
    return WriteInteger(key, name, value ? 1 : 0);
}

bool WriteString(TSettingsKey* key, std::string_view name, const std::string& value) {
    if (key == nullptr)
        return false;
    TStoredValue v{vtString, std::vector<uint8_t>(value.begin(), value.end())};
    v.Data.push_back(0);
    return key->Set(name, std::move(v));
}

bool WriteBinary(TSettingsKey* key, std::string_view name, const void* data, size_t size) {
    if (key == nullptr || (data == nullptr && size != 0))
        return false;
    const auto* p = static_cast<const uint8_t*>(data);
    return key->Set(name, TStoredValue{vtBinary, std::vector<uint8_t>(p, p + size)});
}

} // namespace vocalore
