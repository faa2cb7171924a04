#include "VocabItem.h"

#include "VocabError.h"

#include <cstring>

namespace vocalore {

const std::string& TVocabItem::Field(int index) const {
    switch (index) {
    case fiWord:
        return Word;
    case fiCategory:
        return Category;
    case fiNotes:
        return Notes;
    case fiTranslation:
        return Translation;
    default:
        Raise(msg::InvalidParameter);
    }
}

std::string& TVocabItem::Field(int index) {
    return const_cast<std::string&>(static_cast<const TVocabItem&>(*this).Field(index));
}

std::string FileErrorText(const char* verb, const std::string& path, int errnoValue) {
    std::string text = std::string(verb) + " " + path;
    if (errnoValue != 0) {
        text += ". ";
        text += std::strerror(errnoValue);
    }
    return text;
}

} // namespace vocalore
