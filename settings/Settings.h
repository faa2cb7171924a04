#pragma once
// Everything the main window keeps between runs, and the two routines that read
// it at start-up and write it when the window closes. The window only copies
// fields in and out of the record.

#include "core/DisplayRules.h"
#include "settings/Options.h"
#include "settings/PageSetup.h"
#include "settings/RecentFiles.h"
#include "settings/SettingsStore.h"
#include "settings/SpeechSettings.h"

#include <cstdint>

namespace vocalore {

enum class TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
using enum TWindowState;

inline constexpr int32_t DefaultRecoveryMinutes = 2;
inline constexpr int32_t MaxRecoveryMinutes = 120;

struct TSettings {
    // LoadSettings: whether a usable stored position was found; when not, the
    // window centres itself (CentreOnScreen).
    bool HasWindowPosition = false;
    TScreenRect WindowPosition;
    // SaveSettings writes WindowPosition only in the normal state.
    TWindowState WindowState = wsNormal;
    uint16_t ForeignLangID = 0;
    uint16_t NativeLangID = 0;
    bool ShowToolBar = true;
    bool ShowStatusBar = true;
    uint8_t TestMode = 0; // 0 Passive, 1 Active
    bool MultipleChoice = false;
    int32_t NextTip = 0;
    bool ShowTips = true;
    TRecentFileList RecentFiles{MainRecentFileCapacity};
    // The size the user last gave the Open and Save As dialogs; 0 = the default.
    int32_t FileDialogWidth = 0;
    int32_t FileDialogHeight = 0;
    // Minutes between recovery copies of a document with unsaved changes;
    // 0 writes none. Beside the byte-exact Options record, not inside it.
    int32_t RecoveryMinutes = DefaultRecoveryMinutes;
    TPageSetup PageSetup;
    TOptions Options;
    TSpeechSettings Speech;
};

// Fills every field from the store (the defaults where a value is missing or
// unreadable). The recent-file list is emptied and refilled, keeping its
// capacity unless more entries are stored. defaultNativeLanguage is the user's
// default language, used when no NativeLangID is stored.
void LoadSettings(TSettingsStore& store, TSettings& settings, uint16_t defaultNativeLanguage);
// The same with the user's default language of the system.
void LoadSettings(TSettingsStore& store, TSettings& settings);
// Writes every field; true when the store accepted all of it.
bool SaveSettings(TSettingsStore& store, const TSettings& settings);

} // namespace vocalore
