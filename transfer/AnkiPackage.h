#pragma once
// Reading flashcard packages: a zip archive holding the collection as an
// SQLite database, plain (collection.anki2, collection.anki21) or
// zstd-compressed (collection.anki21b, which current versions write beside a
// placeholder collection.anki2). Media files are left alone.
//
// Everything here reads outside bytes, so every step has a bound: the
// collection may be at most MaxAnkiCollectionBytes however the archive
// describes it, and the database is opened read-only in memory, never on a
// file.

#include "transfer/Anki.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vocalore {

class TVocabFile;

inline constexpr size_t MaxAnkiCollectionBytes = size_t{128} << 20;

// The package's note types, decks and notes. A file that is not a zip
// archive, holds no collection, or whose collection is too large, damaged or
// not a flashcard collection raises an EVocabFileError that says which.
TAnkiPackage ReadAnkiPackage(std::string_view image);
TAnkiPackage ReadAnkiPackageFile(const std::string& path);

// The collection database of a package image (decompressed), for tests.
std::string AnkiCollectionBytes(std::string_view image);

// True when the file is a zip archive holding a collection, whatever its name.
bool LooksLikeAnkiPackage(std::string_view image);
bool LooksLikeAnkiPackageFile(const std::string& path);

// Import: reads the whole package, then appends its notes (ImportAnkiData).
TAnkiImportResult ImportAnki(TVocabFile& doc, const std::string& path,
                             const TAnkiImportSettings& settings);

} // namespace vocalore
