#include "KeyboardSwitcher.h"

#include "ui/textentry/SymbolEdit.h"

#include <QApplication>
#include <QGuiApplication>

namespace vocalore {

namespace {

std::function<std::unique_ptr<TKeyboardBackend>()>& Factory() {
    static std::function<std::unique_ptr<TKeyboardBackend>()> factory;
    return factory;
}

} // namespace

void SetKeyboardBackendFactory(std::function<std::unique_ptr<TKeyboardBackend>()> factory) {
    Factory() = std::move(factory);
}

std::unique_ptr<TKeyboardBackend> MakePlatformKeyboard() {
    if (Factory())
        return Factory()();
    if (QGuiApplication::platformName() == u"xcb")
        return MakeXkbKeyboard();
    return nullptr;
}

TKeyboardSwitcher::TKeyboardSwitcher(std::unique_ptr<TKeyboardBackend> backend,
                                     std::function<bool()> enabled,
                                     std::function<uint16_t(int tag)> languageOfTag)
    : FBackend(std::move(backend)), FEnabled(std::move(enabled)),
      FLanguageOfTag(std::move(languageOfTag)) {
    if (FBackend)
        FDefault = std::max(0, FBackend->ActiveLayout());
}

void TKeyboardSwitcher::SwitchKeyboard(bool toDefault) {
    if (!FBackend || !FEnabled || !FEnabled())
        return;
    uint16_t language = 0;
    if (!toDefault) {
        const int tag = ControlTag(QApplication::focusWidget());
        if ((tag == TagForeign || tag == TagNative) && FLanguageOfTag)
            language = FLanguageOfTag(tag);
    }
    // Read every time: the user may configure other layouts while we run.
    std::vector<uint16_t> languages;
    for (const TXkbLayout& layout : FBackend->Layouts())
        languages.push_back(XkbLayoutLanguage(layout.Layout, layout.Variant));
    const int wanted = ChooseKeyboardLayout(languages, language, FDefault);
    if (FBackend->ActiveLayout() != wanted)
        FBackend->ActivateLayout(wanted);
}

} // namespace vocalore
