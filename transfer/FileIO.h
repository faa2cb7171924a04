#pragma once
// Whole-file reads and writes with the document's error messages.

#include <string>
#include <string_view>

namespace vocalore {

// The whole file; "Cannot open file %s" with the reason when it can't be opened
// or read, or is not a regular file (never blocks on a pipe or device).
std::string ReadWholeFile(const std::string& path);

// Creates or truncates the file and writes the bytes in one go. "Cannot create
// file %s" with the reason when it can't be created, "Stream write error" when
// a write fails part-way (the partly written file stays).
void WriteWholeFile(const std::string& path, std::string_view bytes);

} // namespace vocalore
