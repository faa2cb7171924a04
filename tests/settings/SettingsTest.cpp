#include "settings/Settings.h"

#include "TempConfigHome.h"

#include <gtest/gtest.h>

using namespace vocalore;
using vocalore::test::TempConfigHome;

namespace {

constexpr uint16_t UserLanguage = 0x0809;

class SettingsTest : public ::testing::Test {
protected:
    TSettings Load() {
        TSettings s;
        LoadSettings(store, s, UserLanguage);
        return s;
    }
    // Writes raw values the way an earlier run or a hand edit could have left them.
    template <typename F> void WithKey(F f) {
        auto key = OpenSettingsKey(store, SettingsKeyPath, true);
        f(key.get());
        ASSERT_TRUE(CloseSettingsKey(key));
    }
    std::vector<uint8_t> Stored(const char* name) {
        auto key = OpenSettingsKey(store, SettingsKeyPath, false);
        auto v = key ? key->Query(name) : std::nullopt;
        return v ? v->Data : std::vector<uint8_t>{};
    }

    TempConfigHome home;
    TFileSettingsStore store;
};

TSettings NonDefaultSettings() {
    TSettings s;
    s.HasWindowPosition = true;
    s.WindowPosition = {-20, 15, 1000, 700};
    s.ForeignLangID = 0x0407;
    s.NativeLangID = 0x0409;
    s.ShowToolBar = false;
    s.ShowStatusBar = false;
    s.TestMode = 1;
    s.MultipleChoice = true;
    s.NextTip = 17;
    s.ShowTips = false;
    s.FileDialogWidth = 900;
    s.FileDialogHeight = 610;
    s.RecoveryMinutes = 7;
    s.RecentFiles.Add("/b/second.vlo");
    s.RecentFiles.Add("/a/first.vlo");
    s.PageSetup = {9, false, 3, false, {0, 567, 1134, 2880}};
    TOptions& o = s.Options;
    o.AppendNewWords = o.RequireSortPosition = true;
    for (int i = 0; i < ShortcutKeyCount; ++i)
        o.ShortcutChars[static_cast<size_t>(i)] = static_cast<uint16_t>(0xA100 + i);
    o.KeyboardSwitching = false;
    o.TestNotes = {true, true};
    o.NumChoices = 10;
    o.PassiveEvaluation = 0x0155;
    o.ActiveEvaluation = 0x0003;
    o.AutoContinue = true;
    o.ColourWrong = 0x808000;
    o.ColourRight = 0xC0C0C0;
    o.Delay = 20;
    o.Beep = false;
    o.UsePenaltyPoints = true;
    o.MaxPenaltyPoints = 5;
    o.DisallowHints = true;
    return s;
}

void ExpectSame(const TSettings& a, const TSettings& b) {
    EXPECT_EQ(a.HasWindowPosition, b.HasWindowPosition);
    EXPECT_EQ(a.WindowPosition, b.WindowPosition);
    EXPECT_EQ(a.ForeignLangID, b.ForeignLangID);
    EXPECT_EQ(a.NativeLangID, b.NativeLangID);
    EXPECT_EQ(a.ShowToolBar, b.ShowToolBar);
    EXPECT_EQ(a.ShowStatusBar, b.ShowStatusBar);
    EXPECT_EQ(a.TestMode, b.TestMode);
    EXPECT_EQ(a.MultipleChoice, b.MultipleChoice);
    EXPECT_EQ(a.NextTip, b.NextTip);
    EXPECT_EQ(a.ShowTips, b.ShowTips);
    EXPECT_EQ(a.FileDialogWidth, b.FileDialogWidth);
    EXPECT_EQ(a.FileDialogHeight, b.FileDialogHeight);
    EXPECT_EQ(a.RecoveryMinutes, b.RecoveryMinutes);
    EXPECT_EQ(a.RecentFiles, b.RecentFiles);
    EXPECT_EQ(a.PageSetup, b.PageSetup);
    EXPECT_EQ(a.Options, b.Options);
}

} // namespace

TEST_F(SettingsTest, FirstRunGivesEveryDefaultAndExitCreatesEveryValue) {
    TSettings s = Load();
    EXPECT_FALSE(s.HasWindowPosition) << "the window centres itself";
    EXPECT_EQ(s.ForeignLangID, 0);
    EXPECT_EQ(s.NativeLangID, UserLanguage);
    EXPECT_TRUE(s.ShowToolBar);
    EXPECT_TRUE(s.ShowStatusBar);
    EXPECT_EQ(s.TestMode, 0);
    EXPECT_FALSE(s.MultipleChoice);
    EXPECT_EQ(s.NextTip, 0);
    EXPECT_TRUE(s.ShowTips);
    EXPECT_EQ(s.FileDialogWidth, 0) << "the file dialogs open at their own default size";
    EXPECT_EQ(s.RecoveryMinutes, 2);
    EXPECT_EQ(s.RecentFiles.Count(), 0);
    EXPECT_EQ(s.RecentFiles.Capacity(), MainRecentFileCapacity);
    EXPECT_EQ(EncodePageSetup(s.PageSetup), EncodePageSetup(TPageSetup{}));
    EXPECT_EQ(EncodeOptions(s.Options), EncodeOptions(TOptions{}));

    s.WindowPosition = {100, 50, 740, 530};
    ASSERT_TRUE(SaveSettings(store, s));
    for (const char* name :
         {"WindowPosition", "ForeignLangID", "NativeLangID", "ShowToolBar", "ShowStatusBar",
          "TestMode", "MultipleChoice", "NextTip", "ShowTips", "FileCount", "PageSetup", "Options"})
        EXPECT_FALSE(Stored(name).empty()) << name;
    EXPECT_EQ(Stored("PageSetup").size(), PageSetupRecordSize);
    EXPECT_EQ(Stored("Options").size(), OptionsRecordSize);
    EXPECT_EQ(Stored("NativeLangID"), (std::vector<uint8_t>{0x09, 0x08, 0, 0}));
    EXPECT_EQ(Stored("RecoveryMinutes"), (std::vector<uint8_t>{2, 0, 0, 0}));

    // The file dialogs' size is written only when both sides are known.
    for (const auto& [width, height] : {std::pair{900, 0}, std::pair{0, 610}}) {
        s.FileDialogWidth = width;
        s.FileDialogHeight = height;
        ASSERT_TRUE(SaveSettings(store, s));
        EXPECT_TRUE(Stored("FileDialogWidth").empty()) << width << "x" << height;
        EXPECT_TRUE(Stored("FileDialogHeight").empty()) << width << "x" << height;
    }
}

TEST_F(SettingsTest, WhatOneRunWritesTheNextReadsBackByteForByte) {
    TSettings written = NonDefaultSettings();
    ASSERT_TRUE(SaveSettings(store, written));
    std::vector<uint8_t> options = Stored("Options");
    std::vector<uint8_t> page = Stored("PageSetup");

    TSettings read = Load();
    ExpectSame(read, written);
    EXPECT_EQ(read.RecentFiles.Items(0), "/a/first.vlo");

    ASSERT_TRUE(SaveSettings(store, read));
    EXPECT_EQ(Stored("Options"), options);
    EXPECT_EQ(Stored("PageSetup"), page);
}

TEST_F(SettingsTest, ExitWhileNotNormalKeepsTheLastNormalBounds) {
    TSettings s = NonDefaultSettings();
    ASSERT_TRUE(SaveSettings(store, s));
    for (TWindowState state : {wsMaximized, wsMinimized}) {
        s.WindowState = state;
        s.WindowPosition = {0, 0, 1920, 1080};
        ASSERT_TRUE(SaveSettings(store, s));
        EXPECT_EQ(Load().WindowPosition, (TScreenRect{-20, 15, 1000, 700}));
    }
}

TEST_F(SettingsTest, UnusableWindowPositionCentresTheWindow) {
    struct Case {
        const char* what;
        std::vector<uint8_t> data;
    } cases[] = {
        // Left 0, top -100, right 800: a usable window if the missing bottom read as 0.
        {"shorter than 16 bytes", {0, 0, 0, 0, 0x9C, 0xFF, 0xFF, 0xFF, 0x20, 3, 0, 0}},
        {"longer than 16 bytes", std::vector<uint8_t>(20, 1)},
        {"right left of left", {100, 0, 0, 0, 0, 0, 0, 0, 50, 0, 0, 0, 50, 0, 0, 0}},
        {"empty height", {0, 0, 0, 0, 10, 0, 0, 0, 50, 0, 0, 0, 10, 0, 0, 0}},
        {"width beyond any screen", {0, 0, 0, 0x80, 0, 0, 0, 0, 0x20, 3, 0, 0, 0x58, 2, 0, 0}},
    };
    for (const auto& c : cases) {
        WithKey([&](TSettingsKey* k) {
            WriteBinary(k, "WindowPosition", c.data.data(), c.data.size());
        });
        EXPECT_FALSE(Load().HasWindowPosition) << c.what;
    }
}

TEST_F(SettingsTest, BooleansReadAsNonZeroAndAreWrittenBackAsOne) {
    WithKey([](TSettingsKey* k) {
        WriteInteger(k, "ShowToolBar", 2);
        WriteInteger(k, "MultipleChoice", -1);
        WriteInteger(k, "ShowTips", 0);
        WriteInteger(k, "TestMode", 0x101); // held as one byte
    });
    TSettings s = Load();
    EXPECT_TRUE(s.ShowToolBar);
    EXPECT_TRUE(s.MultipleChoice);
    EXPECT_FALSE(s.ShowTips);
    EXPECT_EQ(s.TestMode, 1);
    ASSERT_TRUE(SaveSettings(store, s));
    EXPECT_EQ(Stored("ShowToolBar"), (std::vector<uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(Stored("MultipleChoice"), (std::vector<uint8_t>{1, 0, 0, 0}));
}

TEST_F(SettingsTest, RecentFilesSkipGapsAndGrowBeyondTheCapacity) {
    WithKey([](TSettingsKey* k) {
        WriteInteger(k, "FileCount", 3);
        WriteString(k, "File0", "/not-a-recent-file.vlo"); // numbering starts at 1
        WriteString(k, "File1", "/one.vlo");
        WriteString(k, "File3", "/three.vlo");
        WriteString(k, "File4", "/left-over.vlo"); // beyond FileCount: neither read nor removed
    });
    TSettings s = Load();
    ASSERT_EQ(s.RecentFiles.Count(), 2);
    EXPECT_EQ(s.RecentFiles.Items(0), "/one.vlo");
    EXPECT_EQ(s.RecentFiles.Items(1), "/three.vlo");
    ASSERT_TRUE(SaveSettings(store, s));
    EXPECT_EQ(Stored("FileCount"), (std::vector<uint8_t>{2, 0, 0, 0}));
    EXPECT_EQ(Stored("File4").size(), sizeof("/left-over.vlo"));

    WithKey([](TSettingsKey* k) {
        WriteInteger(k, "FileCount", 12);
        for (int n = 1; n <= 12; ++n)
            WriteString(k, "File" + std::to_string(n), "/f" + std::to_string(n) + ".vlo");
    });
    s = Load();
    EXPECT_EQ(s.RecentFiles.Count(), 12);
    EXPECT_EQ(s.RecentFiles.Capacity(), 12);
    s.RecentFiles.Add("/new.vlo");
    EXPECT_EQ(s.RecentFiles.Count(), 12);
    EXPECT_EQ(s.RecentFiles.Items(11), "/f11.vlo");
    ASSERT_TRUE(SaveSettings(store, s));
    TSettings again = Load();
    EXPECT_EQ(again.RecentFiles, s.RecentFiles);
}

TEST_F(SettingsTest, HugeFileCountDoesNotHang) {
    WithKey([](TSettingsKey* k) {
        WriteInteger(k, "FileCount", 0x7FFFFFFF);
        WriteString(k, "File2", "/two.vlo");
    });
    TSettings s = Load();
    ASSERT_EQ(s.RecentFiles.Count(), 1);
    EXPECT_EQ(s.RecentFiles.Items(0), "/two.vlo");
}

TEST_F(SettingsTest, StoredRecordsFollowTheMissingShorterLongerRules) {
    // Longer than the record: cannot be read, so the defaults apply.
    std::vector<uint8_t> longOptions(OptionsRecordSize + 1, 0);
    std::vector<uint8_t> longPage(PageSetupRecordSize + 1, 0);
    WithKey([&](TSettingsKey* k) {
        WriteBinary(k, "Options", longOptions.data(), longOptions.size());
        WriteBinary(k, "PageSetup", longPage.data(), longPage.size());
    });
    TSettings s = Load();
    EXPECT_EQ(EncodeOptions(s.Options), EncodeOptions(TOptions{}));
    EXPECT_EQ(s.PageSetup, TPageSetup{});

    // Shorter: fills the start, the rest stays zero (not at its defaults) ...
    TOptionsRecord full = EncodeOptions(NonDefaultSettings().Options);
    WithKey([&](TSettingsKey* k) { WriteBinary(k, "Options", full.data(), 0xC8); });
    s = Load();
    EXPECT_EQ(s.Options.ShortcutChars, NonDefaultSettings().Options.ShortcutChars);
    EXPECT_EQ(s.Options.NumChoices, 10);
    EXPECT_EQ(s.Options.ActiveEvaluation, 0x0003);
    EXPECT_FALSE(s.Options.AutoContinue);
    EXPECT_EQ(s.Options.ColourWrong, 0u);
    EXPECT_EQ(s.Options.ColourRight, 0u);
    EXPECT_FALSE(s.Options.Beep);
    EXPECT_FALSE(s.Options.DisallowHints);
    // ... except numbers that would be out of range, which take their defaults.
    EXPECT_EQ(s.Options.Delay, 0);
    EXPECT_EQ(s.Options.MaxPenaltyPoints, 3);

    uint8_t shortPage[13] = {10, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 1};
    WithKey([&](TSettingsKey* k) { WriteBinary(k, "PageSetup", shortPage, sizeof shortPage); });
    s = Load();
    EXPECT_EQ(s.PageSetup.FontSize, 10);
    EXPECT_EQ(s.PageSetup.Columns, 3);
    EXPECT_TRUE(s.PageSetup.Separator);
    EXPECT_EQ(s.PageSetup.Margins, (TMargins{0, 0, 0, 0}));
}

TEST_F(SettingsTest, DamagedPageSetupNeverReachesTheLayout) {
    TPageSetupRecord bad = EncodePageSetup({99, true, 0, true, {-1, 1440, 2000000000, 700}});
    WithKey([&](TSettingsKey* k) { WriteBinary(k, "PageSetup", bad.data(), bad.size()); });
    TPageSetup p = Load().PageSetup;
    EXPECT_EQ(p.FontSize, 12);
    EXPECT_EQ(p.Columns, 2);
    EXPECT_EQ(p.Margins, (TMargins{1440, 1440, 1440, 700}));
}

TEST_F(SettingsTest, DamagedFileGivesDefaults) {
    SaveSettings(store, NonDefaultSettings());
    home.WriteFile(home.ReadFile() + "garbage line\n");
    TSettings expected;
    expected.NativeLangID = UserLanguage;
    ExpectSame(Load(), expected);

    // Loading replaces whatever the record held, the recent files included.
    TSettings reused = NonDefaultSettings();
    LoadSettings(store, reused, UserLanguage);
    ExpectSame(reused, expected);
}
