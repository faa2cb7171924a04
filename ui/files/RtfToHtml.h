#pragma once
// The small part of rich text that tips use, turned into HTML for display.

#include <QByteArray>
#include <QString>

namespace vocalore {

// Bold, italic, underline, sizes, paragraphs, escaped and hexadecimal
// characters (read in code page 1252); destinations that hold no text are
// skipped.
QString RtfToHtml(const QByteArray& rtf);

} // namespace vocalore
