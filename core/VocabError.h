#pragma once
// The document's exception and its fixed messages.

#include <stdexcept>
#include <string>

namespace vocalore {

class EVocabFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace msg {
inline constexpr const char* NoCurrentItem = "No current item";
inline constexpr const char* InvalidItemIndex = "Invalid item index";
inline constexpr const char* InvalidPropertyValue = "Invalid property value.";
inline constexpr const char* InvalidPropertyIndex = "Invalid property array index.";
inline constexpr const char* InvalidParameter = "Invalid parameter.";
inline constexpr const char* InvalidProcedureCall = "Invalid procedure call.";
inline constexpr const char* LanguagesDifferent = "Languages are different.";
inline constexpr const char* NoValidClipboardData = "No valid data on clipboard.";
inline constexpr const char* InvalidFileFormat = "Invalid file format.";
inline constexpr const char* StreamReadError = "Stream read error";
inline constexpr const char* StreamWriteError = "Stream write error";
} // namespace msg

[[noreturn]] inline void Raise(const char* message) { throw EVocabFileError(message); }

// "Cannot open file %s" / "Cannot create file %s", followed by the system's reason.
std::string FileErrorText(const char* verb, const std::string& path, int errnoValue);

} // namespace vocalore
