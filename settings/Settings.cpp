#include "settings/Settings.h"

#include "core/Languages.h"
#include "settings/RecordBytes.h"

namespace vocalore {

namespace {

constexpr const char* vnWindowPosition = "WindowPosition";
constexpr const char* vnForeignLangID = "ForeignLangID";
constexpr const char* vnNativeLangID = "NativeLangID";
constexpr const char* vnShowToolBar = "ShowToolBar";
constexpr const char* vnFileDialogWidth = "FileDialogWidth";
constexpr const char* vnFileDialogHeight = "FileDialogHeight";
constexpr const char* vnRecoveryMinutes = "RecoveryMinutes";
constexpr const char* vnShowStatusBar = "ShowStatusBar";
constexpr const char* vnTestMode = "TestMode";
constexpr const char* vnMultipleChoice = "MultipleChoice";
constexpr const char* vnNextTip = "NextTip";
constexpr const char* vnShowTips = "ShowTips";
constexpr const char* vnFileCount = "FileCount";
constexpr const char* vnPageSetup = "PageSetup";
constexpr const char* vnOptions = "Options";

std::string FileValueName(int32_t n) { return "File" + std::to_string(n); }

// WindowPosition: left, top, right, bottom.
using TBoundsRecord = std::array<uint8_t, 16>;

// No screen reaches this far; beyond it a rectangle is damage, not a position.
constexpr int32_t MaxScreenCoordinate = 1000000;

// Only a complete rectangle with a positive size counts; anything else leaves
// the window to centre itself.
bool ReadWindowPosition(const TSettingsKey* key, TScreenRect& bounds) {
    TBoundsRecord b{};
    size_t stored = 0;
    if (!ReadBinary(key, vnWindowPosition, b.data(), b.size(), &stored) || stored != b.size())
        return false;
    TScreenRect r{GetI32(b, 0), GetI32(b, 4), GetI32(b, 8), GetI32(b, 12)};
    for (int32_t c : {r.Left, r.Top, r.Right, r.Bottom})
        if (c < -MaxScreenCoordinate || c > MaxScreenCoordinate)
            return false;
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return false;
    bounds = r;
    return true;
}

} // namespace

void LoadSettings(TSettingsStore& store, TSettings& s, uint16_t defaultNativeLanguage) {
    auto key = OpenSettingsKey(store, SettingsKeyPath, false);
    const TSettingsKey* k = key.get();

    s.WindowPosition = {};
    s.HasWindowPosition = ReadWindowPosition(k, s.WindowPosition);
    s.WindowState = wsNormal;
    s.ForeignLangID = static_cast<uint16_t>(ReadInteger(k, vnForeignLangID, 0));
    s.NativeLangID = static_cast<uint16_t>(ReadInteger(k, vnNativeLangID, defaultNativeLanguage));
    s.ShowToolBar = ReadBool(k, vnShowToolBar, true);
    s.ShowStatusBar = ReadBool(k, vnShowStatusBar, true);
    s.TestMode = static_cast<uint8_t>(ReadInteger(k, vnTestMode, 0));
    s.MultipleChoice = ReadBool(k, vnMultipleChoice, false);
    s.NextTip = ReadInteger(k, vnNextTip, 0);
    s.ShowTips = ReadBool(k, vnShowTips, true);
    s.FileDialogWidth = ReadInteger(k, vnFileDialogWidth, 0);
    s.FileDialogHeight = ReadInteger(k, vnFileDialogHeight, 0);
    s.RecoveryMinutes = ReadInteger(k, vnRecoveryMinutes, DefaultRecoveryMinutes);
    if (s.RecoveryMinutes < 0 || s.RecoveryMinutes > MaxRecoveryMinutes)
        s.RecoveryMinutes = DefaultRecoveryMinutes;

    s.RecentFiles.Clear();
    // A damaged count must not keep us looping over values that are not
    // there; stored lists have no long runs of gaps.
    constexpr int32_t MaxMissingRun = 256;
    int32_t fileCount = ReadInteger(k, vnFileCount, 0);
    int32_t missingRun = 0;
    for (int32_t n = 1; n <= fileCount && missingRun < MaxMissingRun; ++n) {
        std::string path = ReadString(k, FileValueName(n), "");
        if (path.empty()) {
            ++missingRun;
            continue;
        }
        missingRun = 0;
        s.RecentFiles.Append(path);
    }

    TPageSetupRecord page{};
    size_t stored = 0;
    if (ReadBinary(k, vnPageSetup, page.data(), page.size(), &stored)) {
        s.PageSetup = DecodePageSetup(page);
        SanitizePageSetup(s.PageSetup);
    } else {
        s.PageSetup = TPageSetup{};
    }

    TOptionsRecord options{};
    if (ReadBinary(k, vnOptions, options.data(), options.size(), &stored)) {
        s.Options = DecodeOptions(options);
        SanitizeOptions(s.Options);
    } else {
        s.Options = TOptions{};
    }
    s.Speech = ReadSpeechSettings(k);

    CloseSettingsKey(key);
}

void LoadSettings(TSettingsStore& store, TSettings& s) {
    LoadSettings(store, s, UserDefaultLanguage());
}

bool SaveSettings(TSettingsStore& store, const TSettings& s) {
    auto key = OpenSettingsKey(store, SettingsKeyPath, true);
    if (!key)
        return false;
    TSettingsKey* k = key.get();
    bool ok = true;

    if (s.WindowState == wsNormal) {
        TBoundsRecord b{};
        PutI32(b, 0, s.WindowPosition.Left);
        PutI32(b, 4, s.WindowPosition.Top);
        PutI32(b, 8, s.WindowPosition.Right);
        PutI32(b, 12, s.WindowPosition.Bottom);
        ok &= WriteBinary(k, vnWindowPosition, b.data(), b.size());
    }
    ok &= WriteInteger(k, vnForeignLangID, s.ForeignLangID);
    ok &= WriteInteger(k, vnNativeLangID, s.NativeLangID);
    ok &= WriteBool(k, vnShowToolBar, s.ShowToolBar);
    ok &= WriteBool(k, vnShowStatusBar, s.ShowStatusBar);
    ok &= WriteInteger(k, vnTestMode, s.TestMode);
    ok &= WriteBool(k, vnMultipleChoice, s.MultipleChoice);
    ok &= WriteInteger(k, vnNextTip, s.NextTip);
    ok &= WriteBool(k, vnShowTips, s.ShowTips);
    ok &= WriteInteger(k, vnRecoveryMinutes, s.RecoveryMinutes);
    if (s.FileDialogWidth > 0 && s.FileDialogHeight > 0) {
        ok &= WriteInteger(k, vnFileDialogWidth, s.FileDialogWidth);
        ok &= WriteInteger(k, vnFileDialogHeight, s.FileDialogHeight);
    }

    ok &= WriteInteger(k, vnFileCount, s.RecentFiles.Count());
    for (int32_t i = 0; i < s.RecentFiles.Count(); ++i)
        ok &= WriteString(k, FileValueName(i + 1), s.RecentFiles.Items(i));

    TPageSetupRecord page = EncodePageSetup(s.PageSetup);
    ok &= WriteBinary(k, vnPageSetup, page.data(), page.size());
    TOptionsRecord options = EncodeOptions(s.Options);
    ok &= WriteBinary(k, vnOptions, options.data(), options.size());
    ok &= WriteSpeechSettings(k, s.Speech);

    ok &= CloseSettingsKey(key);
    return ok;
}

} // namespace vocalore
