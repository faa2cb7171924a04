#pragma once
// Shared helpers of the transfer tests: small documents, temporary files,
// error capture.

#include "core/VocabFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace vocalore::transfertest {

struct TItemTexts {
    std::string Word, Category, Notes, Translation;
    bool operator==(const TItemTexts&) const = default;
};

inline void PrintTo(const TItemTexts& t, std::ostream* os) {
    *os << "{" << t.Word << "|" << t.Category << "|" << t.Notes << "|" << t.Translation << "}";
}

inline void AddItem(TVocabFile& doc, const TItemTexts& t) {
    TVocabItem& item = doc.PendingItem();
    item.Word = t.Word;
    item.Category = t.Category;
    item.Notes = t.Notes;
    item.Translation = t.Translation;
    doc.InsertPending(ipAtEnd);
}

// The four texts of every item, in order.
inline std::vector<TItemTexts> Items(const TVocabFile& doc) {
    std::vector<TItemTexts> out;
    for (int32_t i = 0; i < doc.Count(); ++i) {
        const TVocabItem& it = doc.Items(i);
        out.push_back({it.Word, it.Category, it.Notes, it.Translation});
    }
    return out;
}

inline TVocabFile& Languages(TVocabFile& doc, uint16_t foreignId, uint16_t nativeId) {
    doc.ForeignLangID = foreignId;
    doc.NativeLangID = nativeId;
    return doc;
}

// A private directory removed at the end of the test.
class TTempDir {
public:
    TTempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vocalore-transfer-XXXXXX").string();
        FPath = ::mkdtemp(pattern.data());
    }
    ~TTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(FPath, ec);
    }
    std::string File(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The message of the exception that f throws, or "(no error)".
template <typename F> std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

// Runs a shell command and returns its standard output.
inline std::string RunCommand(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

} // namespace vocalore::transfertest
