#pragma once
// The system clipboard for the document: the private item block and the plain
// text go on it together, so two running copies of the program can exchange
// items and other programs still get the text.

#include "core/Clipboard.h"

#include <QObject>

namespace vocalore {

// The private format travels under this MIME type (a MIME type can't carry
// the format's display name with its spaces).
inline constexpr const char* ClipboardMimeType = "application/x-vocalore-vocabulary-item";

class TQtClipboard final : public QObject, public TClipboardPort {
public:
    TQtClipboard();
    void PutItem(const std::string& block, const std::string& plainTextUtf8) override;
    std::optional<std::string> GetBlock() const override;
    // Asked on every idle pass: the answer is kept until the clipboard changes.
    bool HasBlock() const override;

private:
    mutable int FHasBlock = -1; // -1 unknown, else 0 or 1
};

} // namespace vocalore
