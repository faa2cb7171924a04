#pragma once
// Whole-file reads and safe whole-file replacement, with the document's error
// messages. Documents, exports and the settings file all go through here.

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace vocalore {

// The whole file. Throws "Cannot open file %s" with the reason when it can't be
// opened or read, is not a regular file, or is larger than maxSize. Never
// blocks on a pipe or device.
std::string ReadWholeFile(const std::string& path,
                          size_t maxSize = std::numeric_limits<size_t>::max());

// Writes the bytes to a temporary file beside the target and renames it over
// the target only when everything was written, so a failure never destroys
// the old file. A device or pipe is written in place. An existing file keeps
// its permissions; a symbolic link keeps pointing at the replaced file. Throws "Cannot create file
// %s" with the reason, or "Stream write error" when writing fails part-way.
void ReplaceFile(const std::string& path, std::string_view bytes);

} // namespace vocalore
