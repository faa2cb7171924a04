#include "SymbolEdit.h"

#include "core/CodePage.h"

#include <QValidator>
#include <QVariant>

namespace vocalore {

namespace {

constexpr const char* TagProperty = "vocaloreTag";

class TCodePageValidator final : public QValidator {
public:
    TCodePageValidator(uint16_t languageId, QObject* parent)
        : QValidator(parent), FCodePage(TCodePage::ForLanguage(languageId)) {}
    State validate(QString& input, int&) const override {
        return FCodePage.CanEncode(input.toStdU16String()) ? Acceptable : Invalid;
    }

private:
    const TCodePage& FCodePage;
};

} // namespace

int ControlTag(const QObject* control) {
    return control ? control->property(TagProperty).toInt() : 0;
}

void SetControlTag(QObject* control, int tag) { control->setProperty(TagProperty, tag); }

TSymbolEdit::TSymbolEdit(QWidget* parent) : QLineEdit(parent) {
    setTextMargins(2, 0, 2, 0);
    SetLanguage(FLanguage);
}

TSymbolEdit::~TSymbolEdit() = default;

void TSymbolEdit::SetLanguage(uint16_t languageId) {
    const std::string bytes = Bytes();
    FLanguage = languageId;
    delete validator();
    setValidator(new TCodePageValidator(languageId, this));
    SetBytes(bytes);
}

std::string TSymbolEdit::Bytes() const {
    const std::u16string text = this->text().toStdU16String();
    const TCodePage& codePage = TCodePage::ForLanguage(FLanguage);
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t ch : text)
        if (const auto byte = codePage.Encode(ch))
            bytes += static_cast<char>(*byte);
    return bytes;
}

void TSymbolEdit::SetBytes(std::string_view bytes) {
    setText(QString::fromStdU16String(ToUtf16(bytes, FLanguage)));
}

} // namespace vocalore
