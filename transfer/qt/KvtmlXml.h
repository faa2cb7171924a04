#pragma once
// Reading and writing KVTML, the XML vocabulary files of KDE's Parley and
// KWordQuiz: version 2.0 and the older 1.x attribute format. Qt Core only
// (QXmlStreamReader and QXmlStreamWriter); what the entries become is
// transfer/Kvtml.h.

#include "transfer/Kvtml.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace vocalore {

class TVocabFile;

// The file's identifiers and entries. XML that is not well formed, or whose
// root is not "kvtml", raises an EVocabFileError naming the line.
TKvtmlData ReadKvtml(std::string_view image);
TKvtmlData ReadKvtmlFile(const std::string& path);

// Import: reads the whole file, then appends its items (see ImportKvtmlData).
TKvtmlImportResult ImportKvtml(TVocabFile& doc, const std::string& path);

// KVTML 2.0 of the document: identifier 0 is the foreign language, 1 the
// native one, one entry per item in order, the notes as the translation's
// comment, the parts of speech as word types, and one lesson holding every
// entry (the KDE programs show only entries that belong to a lesson).
// Raises an EVocabFileError naming the item and field when a text holds a
// control character that XML can't carry.
std::string KvtmlBytes(const TVocabFile& doc);
void ExportKvtml(const TVocabFile& doc, const std::string& path);
void ExportKvtml(const TVocabFile& doc, std::ostream& stream);

} // namespace vocalore
