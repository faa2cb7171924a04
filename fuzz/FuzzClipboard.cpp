// Feeds arbitrary bytes as the private clipboard block: paste must either add
// exactly one item or throw the document's error and change nothing; a block
// that decodes must give back its header and the text up to the zero byte.
#include "core/Clipboard.h"
#include "core/VocabFile.h"

#include <cstdlib>
#include <string>

namespace {

class TBytesClipboard : public vocalore::TClipboardPort {
public:
    explicit TBytesClipboard(std::string block) : FBlock(std::move(block)) {}
    void PutItem(const std::string&, const std::string&) override {}
    std::optional<std::string> GetBlock() const override { return FBlock; }
    bool HasBlock() const override { return true; }

private:
    std::string FBlock;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vocalore;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto block = DecodeClipboardBlock(bytes);
    if (block) {
        // A block made from the decoded fields has the same header and text.
        TVocabItem item;
        item.SortPosition = block->SortPosition;
        const std::string again =
            EncodeClipboardBlock(block->ForeignLangID, block->NativeLangID, item);
        if (bytes.compare(0, ClipboardHeaderSize, again, 0, ClipboardHeaderSize) != 0)
            std::abort();
        if (block->Text.find('\0') != std::string::npos ||
            block->Text.size() + ClipboardHeaderSize >= size ||
            bytes[ClipboardHeaderSize + block->Text.size()] != '\0')
            std::abort();
    }

    TVocabFile doc;
    doc.ForeignLangID = 0x0407;
    doc.NativeLangID = 0x0409;
    TBytesClipboard clipboard(bytes);
    try {
        doc.PasteFromClipboard(clipboard, ipAtEnd);
        if (!block || doc.Count() != 1 || doc.CurrentItem().SortPosition != block->SortPosition)
            std::abort();
    } catch (const EVocabFileError&) {
        if (doc.Count() != 0 || doc.Modified())
            std::abort();
    }
    return 0;
}
