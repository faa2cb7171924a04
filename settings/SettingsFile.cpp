#include "settings/SettingsFile.h"

#include <cstdio>

namespace vocalore {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

const char HexChars[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, uint8_t b) {
    out += HexChars[b >> 4];
    out += HexChars[b & 0x0F];
}

// Control bytes, the backslash and (in names) characters that would end or
// change the meaning of the name are escaped; everything else, UTF-8 included,
// stays readable.
void AppendEscaped(std::string& out, std::string_view text, bool isName) {
    for (size_t i = 0; i < text.size(); ++i) {
        auto b = static_cast<uint8_t>(text[i]);
        bool special = b < 0x20 || b == 0x7F || b == '\\';
        if (isName)
            special = special || b == '=' || b == ']' || (i == 0 && (b == '[' || b == '#'));
        if (!special) {
            out += static_cast<char>(b);
            continue;
        }
        if (b == '\\') {
            out += "\\\\";
            continue;
        }
        out += "\\x";
        AppendHexByte(out, b);
    }
}

// The inverse of AppendEscaped; false on a malformed escape.
bool Unescape(std::string_view text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            out += '\\';
            ++i;
            continue;
        }
        if (i + 3 >= text.size() || text[i + 1] != 'x')
            return false;
        int hi = HexDigit(text[i + 2]);
        int lo = HexDigit(text[i + 3]);
        if (hi < 0 || lo < 0)
            return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 3;
    }
    return true;
}

bool ParseHex(std::string_view text, std::vector<uint8_t>& out) {
    if (text.size() % 2 != 0)
        return false;
    out.clear();
    out.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        int hi = HexDigit(text[i]);
        int lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return true;
}

bool ParseValue(std::string_view text, TStoredValue& value) {
    auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return false;
    std::string_view kind = text.substr(0, colon);
    std::string_view payload = text.substr(colon + 1);
    if (kind == "dword") {
        std::vector<uint8_t> bytes;
        if (payload.size() != 8 || !ParseHex(payload, bytes))
            return false;
        value.Type = vtInteger;
        value.Data.assign(bytes.rbegin(), bytes.rend()); // written most significant first
        return true;
    }
    if (kind == "sz") {
        std::string s;
        if (!Unescape(payload, s))
            return false;
        value.Type = vtString;
        value.Data.assign(s.begin(), s.end());
        value.Data.push_back(0);
        return true;
    }
    if (kind == "hex") {
        value.Type = vtBinary;
        return ParseHex(payload, value.Data);
    }
    return false;
}

void AppendValue(std::string& out, const TStoredValue& value) {
    if (value.Type == vtInteger && value.Data.size() == 4) {
        out += "dword:";
        for (size_t i = 4; i-- > 0;)
            AppendHexByte(out, value.Data[i]);
        return;
    }
    if (value.Type == vtString && !value.Data.empty() && value.Data.back() == 0) {
        out += "sz:";
        AppendEscaped(out,
                      std::string_view(reinterpret_cast<const char*>(value.Data.data()),
                                       value.Data.size() - 1),
                      false);
        return;
    }
    out += "hex:";
    for (uint8_t b : value.Data)
        AppendHexByte(out, b);
}

} // namespace

namespace {

std::string IndexName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

} // namespace

const size_t* TSettingsSection::Position(std::string_view name) const {
    if (Index.size() != Values.size()) {
        Index.clear();
        for (size_t i = 0; i < Values.size(); ++i)
            Index.emplace(IndexName(Values[i].first), i);
    }
    const auto it = Index.find(IndexName(name));
    return it == Index.end() ? nullptr : &it->second;
}

const TStoredValue* TSettingsSection::Find(std::string_view name) const {
    const size_t* position = Position(name);
    return position == nullptr ? nullptr : &Values[*position].second;
}

void TSettingsSection::Set(std::string_view name, TStoredValue value) {
    if (const size_t* position = Position(name)) {
        Values[*position].second = std::move(value);
        return;
    }
    Values.emplace_back(std::string(name), std::move(value));
    Index.emplace(IndexName(name), Values.size() - 1);
}

TSettingsSection* TSettingsDocument::Find(std::string_view keyPath) {
    for (auto& s : Sections)
        if (SameNameIgnoringCase(s.KeyPath, keyPath))
            return &s;
    return nullptr;
}

const TSettingsSection* TSettingsDocument::Find(std::string_view keyPath) const {
    return const_cast<TSettingsDocument*>(this)->Find(keyPath);
}

TSettingsSection& TSettingsDocument::FindOrAdd(std::string_view keyPath) {
    if (auto* s = Find(keyPath))
        return *s;
    Sections.push_back(TSettingsSection{std::string(keyPath), {}, {}});
    return Sections.back();
}

std::optional<TSettingsDocument> ParseSettingsFile(std::string_view text) {
    if (text.size() > MaxSettingsFileSize)
        return std::nullopt;
    TSettingsDocument doc;
    TSettingsSection* section = nullptr;
    bool sawMagic = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') // tolerate a file saved with CRLF
            line.remove_suffix(1);
        if (!sawMagic) {
            if (line != SettingsFileMagic)
                return std::nullopt;
            sawMagic = true;
            continue;
        }
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3)
                return std::nullopt;
            std::string path;
            if (!Unescape(line.substr(1, line.size() - 2), path))
                return std::nullopt;
            section = &doc.FindOrAdd(path);
            continue;
        }
        auto eq = line.find('=');
        if (section == nullptr || eq == std::string_view::npos || eq == 0)
            return std::nullopt;
        std::string name;
        TStoredValue value;
        if (!Unescape(line.substr(0, eq), name) || !ParseValue(line.substr(eq + 1), value))
            return std::nullopt;
        section->Set(name, std::move(value));
    }
    if (!sawMagic)
        return std::nullopt;
    return doc;
}

std::string FormatSettingsFile(const TSettingsDocument& document) {
    std::string out = SettingsFileMagic;
    out += '\n';
    for (const auto& section : document.Sections) {
        out += "\n[";
        AppendEscaped(out, section.KeyPath, true);
        out += "]\n";
        for (const auto& [name, value] : section.Values) {
            AppendEscaped(out, name, true);
            out += '=';
            AppendValue(out, value);
            out += '\n';
        }
    }
    return out;
}

} // namespace vocalore
