#pragma once
// One vocabulary item. Texts are bytes in the code page of their language.

#include <cstdint>
#include <string>

namespace vocalore {

enum TFieldIndex : int { fiWord = 0, fiCategory = 1, fiNotes = 2, fiTranslation = 3 };
inline constexpr int FieldCount = 4;

struct TVocabItem {
    std::string Word;
    std::string Category; // part of speech
    std::string Notes;
    std::string Translation;
    int32_t LastTested = 0;
    int32_t SortPosition = 0;  // leading bytes of Word that sorting skips
    int32_t PenaltyPoints = 0; // -1 = learnt
    std::string SortKey;       // working field, filled just before sorting
    int32_t DisplayWidth = 0;  // grid's cached width in pixels, 0 = not measured

    bool Learnt() const { return PenaltyPoints == -1; }

    // Fields addressed by index 0..3 (Word, Category, Notes, Translation).
    const std::string& Field(int index) const;
    std::string& Field(int index);
};

} // namespace vocalore
