// Feeds arbitrary bytes to the document reader: it must either load or throw
// the document's error, and after a failure the document must be empty.
#include "core/VocabFile.h"

#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vocalore::TVocabFile doc;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        doc.LoadFromStream(in);
        std::ostringstream out;
        doc.SaveToStream(out);
    } catch (const vocalore::EVocabFileError&) {
        if (doc.Count() != 0 || doc.Modified() || !doc.FileName().empty())
            std::abort();
    }
    return 0;
}
