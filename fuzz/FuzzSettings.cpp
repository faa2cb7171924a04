// Feeds arbitrary bytes to the settings file reader. A file it accepts must
// write back to text that reads as the same settings, and loading the program's
// settings from it must neither crash nor produce values the rest of the
// program cannot use.
#include "settings/Settings.h"
#include "settings/SettingsFile.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vocalore;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto doc = ParseSettingsFile(text);
    if (!doc)
        return 0;
    std::string written = FormatSettingsFile(*doc);
    auto again = ParseSettingsFile(written);
    if (!again || FormatSettingsFile(*again) != written)
        std::abort();

    TMemorySettingsStore store;
    if (const TSettingsSection* section = doc->Find(SettingsKeyPath)) {
        auto& values = store.Keys[SettingsKeyPath];
        for (const auto& [name, value] : section->Values)
            values[name] = value;
    }
    TSettings settings;
    LoadSettings(store, settings, 0x0409);
    const TPageSetup& p = settings.PageSetup;
    const TOptions& o = settings.Options;
    if (p.FontSize < 8 || p.FontSize > 24 || p.Columns < 1 || p.Columns > 3 || p.Margins.Left < 0 ||
        p.Margins.Top < 0 || p.Margins.Right < 0 || p.Margins.Bottom < 0 || o.NumChoices < 3 ||
        o.NumChoices > 10 || o.Delay < 0 || o.Delay > 20 || o.MaxPenaltyPoints < 1 ||
        o.MaxPenaltyPoints > 5 ||
        (settings.HasWindowPosition && settings.WindowPosition.Width() <= 0))
        std::abort();
    if (!SaveSettings(store, settings))
        std::abort();
    return 0;
}
