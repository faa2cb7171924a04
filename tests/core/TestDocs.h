#pragma once
// Small documents for the core tests.

#include "core/VocabFile.h"

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace vocalore::testdocs {

inline void Add(TVocabFile& doc, const std::string& word, const std::string& translation = "",
                InsertPosition position = ipAtEnd) {
    TVocabItem& item = doc.PendingItem();
    item.Word = word;
    item.Translation = translation.empty() ? word + "-en" : translation;
    doc.InsertPending(position);
}

inline void Fill(TVocabFile& doc, std::initializer_list<const char*> words) {
    for (const char* w : words)
        Add(doc, w);
}

inline std::vector<std::string> Words(const TVocabFile& doc) {
    std::vector<std::string> words;
    for (int32_t i = 0; i < doc.Count(); ++i)
        words.push_back(doc.Items(i).Word);
    return words;
}

using W = std::vector<std::string>;

// The message of the EVocabFileError that f throws, or "(no error)".
template <typename F> std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const EVocabFileError& e) {
        return e.what();
    }
    return "(no error)";
}

// A fresh folder per test, removed afterwards; safe with tests run in parallel.
class TTempDir {
public:
    TTempDir() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "vocalore-test-XXXXXX").string();
        FPath = ::mkdtemp(tmpl.data());
    }
    ~TTempDir() { std::filesystem::remove_all(FPath); }
    std::string operator/(const std::string& name) const { return (FPath / name).string(); }
    const std::filesystem::path& Path() const { return FPath; }

private:
    std::filesystem::path FPath;
};

} // namespace vocalore::testdocs
