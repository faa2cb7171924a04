#pragma once
// Where the program's own files live: the help pages, the tips file and the
// sample documents. Found from the executable's folder, so an installed tree
// (bin/ beside share/vocalore/) and the build tree, which copies the same
// layout, behave alike wherever they are.

#include <QString>

namespace vocalore {

// The data folder, e.g. "/usr/share/vocalore" for "/usr/bin/vocalore".
QString DataFolder();
// A file or folder in it: DataPath("Tips.dat"), DataPath("help").
QString DataPath(const QString& name);

} // namespace vocalore
