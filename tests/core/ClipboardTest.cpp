// The clipboard block and Copy/Paste through a clipboard double.
#include "core/Clipboard.h"
#include "core/VocabFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace vocalore {
namespace {

class TFakeClipboard : public TClipboardPort {
public:
    void PutItem(const std::string& block, const std::string& plainTextUtf8) override {
        if (Busy)
            throw EVocabFileError(msg::CannotOpenClipboard);
        Block = block;
        PlainText = plainTextUtf8;
    }
    std::optional<std::string> GetBlock() const override {
        if (Busy)
            throw EVocabFileError(msg::CannotOpenClipboard);
        return Block;
    }
    bool HasBlock() const override { return Block.has_value(); }

    std::optional<std::string> Block;
    std::string PlainText;
    bool Busy = false;
};

std::string Message(const std::function<void()>& action) {
    try {
        action();
    } catch (const EVocabFileError& error) {
        return error.what();
    }
    return "(no error)";
}

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { Source = MakeDoc(0x0407, 0x0409); }
    static std::unique_ptr<TVocabFile> MakeDoc(uint16_t foreign, uint16_t native) {
        auto doc = std::make_unique<TVocabFile>();
        doc->ForeignLangID = foreign;
        doc->NativeLangID = native;
        return doc;
    }
    void AddItem(TVocabFile& doc, const std::string& word, const std::string& category,
                 const std::string& notes, const std::string& translation, int32_t sortPosition = 0,
                 int32_t penalty = 0) {
        TVocabItem& item = doc.PendingItem();
        item.Word = word;
        item.Category = category;
        item.Notes = notes;
        item.Translation = translation;
        item.SortPosition = sortPosition;
        item.PenaltyPoints = penalty;
        item.LastTested = 17;
        doc.InsertPending(ipAtEnd);
    }
    std::unique_ptr<TVocabFile> Source;
    TFakeClipboard Clipboard;
};

TEST_F(ClipboardTest, BlockLayoutAndPlainText) {
    AddItem(*Source, "der H\xfcgel", "", "", "hill", 4, -1);
    Source->CopyToClipboard(Clipboard);
    ASSERT_TRUE(Clipboard.Block.has_value());
    const std::string expected =
        std::string("\x07\x04\x09\x04\x04\x00\x00\x00", 8) + "der H\xfcgel\t\t\thill" + '\0';
    EXPECT_EQ(*Clipboard.Block, expected);
    EXPECT_EQ(Clipboard.Block->size(), 8 + std::string("der H\xfcgel\t\t\thill").size() + 1);
    EXPECT_EQ(Clipboard.PlainText, "der H\xc3\xbcgel\t\t\thill");
    EXPECT_TRUE(TVocabFile::ClipboardHasItem(Clipboard));
    EXPECT_EQ(Source->UndoStepCount(), 1); // copying records nothing
}

TEST_F(ClipboardTest, PasteKeepsTextsAndSortPositionButNotStatistics) {
    AddItem(*Source, "der Hund", "noun", "", "dog", 4, -1);
    AddItem(*Source, "die Katze", "noun", "", "cat");
    Source->SetCurrentIndex(0);
    Source->CopyToClipboard(Clipboard);

    auto target = MakeDoc(0x0807, 0x0809); // other sub-languages are fine
    AddItem(*target, "a", "", "", "b");
    AddItem(*target, "c", "", "", "d");
    target->SetCurrentIndex(0);
    target->PasteFromClipboard(Clipboard, ipAfterCurrent);
    ASSERT_EQ(target->Count(), 3);
    EXPECT_EQ(target->CurrentIndex(), 1);
    const TVocabItem& pasted = target->CurrentItem();
    EXPECT_EQ(pasted.Word, "der Hund");
    EXPECT_EQ(pasted.Category, "noun");
    EXPECT_EQ(pasted.Notes, "");
    EXPECT_EQ(pasted.Translation, "dog");
    EXPECT_EQ(pasted.SortPosition, 4);
    EXPECT_EQ(pasted.PenaltyPoints, 0);
    EXPECT_EQ(pasted.LastTested, 0);
    EXPECT_EQ(target->UndoKind(), ukAdd);

    target->Undo();
    EXPECT_EQ(target->Count(), 2);
    EXPECT_EQ(target->CurrentIndex(), 0);

    target->PasteFromClipboard(Clipboard, ipAtEnd);
    EXPECT_EQ(target->CurrentIndex(), 2);
}

TEST_F(ClipboardTest, Refusals) {
    auto target = MakeDoc(0x0407, 0x0409);
    // nothing on the clipboard, or a copy without a current item
    EXPECT_EQ(Message([&] { target->PasteFromClipboard(Clipboard, ipAtEnd); }),
              msg::NoValidClipboardData);
    EXPECT_EQ(Message([&] { Source->CopyToClipboard(Clipboard); }), msg::NoCurrentItem);
    EXPECT_FALSE(Clipboard.Block.has_value());
    EXPECT_FALSE(TVocabFile::ClipboardHasItem(Clipboard));

    AddItem(*Source, "w", "c", "n", "t");
    Clipboard.Busy = true;
    EXPECT_EQ(Message([&] { Source->CopyToClipboard(Clipboard); }), msg::CannotOpenClipboard);
    EXPECT_EQ(Message([&] { target->PasteFromClipboard(Clipboard, ipAtEnd); }),
              msg::CannotOpenClipboard);
    Clipboard.Busy = false;

    Source->CopyToClipboard(Clipboard);
    auto swapped = MakeDoc(0x0409, 0x0407);
    EXPECT_EQ(Message([&] { swapped->PasteFromClipboard(Clipboard, ipAtEnd); }),
              msg::LanguagesDifferent);
    auto french = MakeDoc(0x040C, 0x0409);
    EXPECT_EQ(Message([&] { french->PasteFromClipboard(Clipboard, ipAtEnd); }),
              msg::LanguagesDifferent);
    EXPECT_EQ(swapped->Count() + french->Count(), 0);
    EXPECT_EQ(swapped->UndoKind(), ukNone);
}

TEST_F(ClipboardTest, BrokenBlocks) {
    const std::string header("\x07\x04\x09\x04\x00\x00\x00\x00", 8);
    struct {
        std::string Block;
        const char* Message;
    } const rows[] = {
        {"", msg::NoValidClipboardData},
        {header.substr(0, 7), msg::NoValidClipboardData},
        {header, msg::NoValidClipboardData},                            // no zero byte
        {header + "w\tc\tn\tt", msg::NoValidClipboardData},             // no zero byte
        {header + std::string(1, '\0'), msg::NoValidClipboardData},     // empty text
        {header + "w\tc\tn" + '\0', msg::NoValidClipboardData},         // two tabs
        {header + "w\tc\tn" + '\0' + "\tt", msg::NoValidClipboardData}, // text stops at the zero
        {std::string("\x07\x05\x09\x04\x00\x00\x00\x00w\tc\tn\tt", 15) + '\0',
         msg::LanguagesDifferent},
        {header + "w\tc\tn\tt" + '\0', "(no error)"},
        {header + "\t\t\t" + '\0', "(no error)"},
        {header + "w\tc\tn\tt\textra" + '\0' + "junk", "(no error)"},
    };
    for (const auto& row : rows) {
        auto target = MakeDoc(0x0407, 0x0409);
        Clipboard.Block = row.Block;
        EXPECT_EQ(Message([&] { target->PasteFromClipboard(Clipboard, ipAtEnd); }), row.Message)
            << testing::PrintToString(row.Block);
        EXPECT_EQ(target->Count(), std::string(row.Message) == "(no error)" ? 1 : 0);
    }
    // A text the file could not hold is refused before anything changes.
    for (int field = 0; field < FieldCount; ++field) {
        for (const size_t size : {size_t{65535}, size_t{65536}, size_t{4} << 20}) {
            std::string fields[FieldCount] = {"w", "c", "n", "t"};
            fields[field] = std::string(size, 'x');
            Clipboard.Block =
                header + fields[0] + '\t' + fields[1] + '\t' + fields[2] + '\t' + fields[3] + '\0';
            auto target = MakeDoc(0x0407, 0x0409);
            const std::string expected =
                size <= 65535 ? std::string("(no error)")
                              : "Cannot paste: the " + std::string(FieldDescription(field)) +
                                    " on the clipboard is " + std::to_string(size) +
                                    " bytes long; a text may hold at most 65535 bytes.";
            EXPECT_EQ(Message([&] { target->PasteFromClipboard(Clipboard, ipAtEnd); }), expected);
            EXPECT_EQ(target->Count(), size <= 65535 ? 1 : 0);
            EXPECT_EQ(target->PendingItem().Word, "");
        }
    }
    // text after a fourth tab is dropped; empty fields stay empty
    auto target = MakeDoc(0x0407, 0x0409);
    Clipboard.Block = header + "w\t\t\tt\textra" + '\0';
    target->PasteFromClipboard(Clipboard, ipAtEnd);
    EXPECT_EQ(target->CurrentItem().Word, "w");
    EXPECT_EQ(target->CurrentItem().Category, "");
    EXPECT_EQ(target->CurrentItem().Translation, "t");
}

TEST(ClipboardBlock, DecodeNegativeSortPositionAndRoundTrip) {
    TVocabItem item;
    item.Word = "a";
    item.SortPosition = -2;
    const auto block = DecodeClipboardBlock(EncodeClipboardBlock(0xFFFF, 0x0001, item));
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(block->ForeignLangID, 0xFFFF);
    EXPECT_EQ(block->NativeLangID, 0x0001);
    EXPECT_EQ(block->SortPosition, -2);
    EXPECT_EQ(block->Text, "a\t\t\t");
}

} // namespace
} // namespace vocalore
