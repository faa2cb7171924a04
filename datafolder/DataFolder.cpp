#include "DataFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace vocalore {

QString DataFolder() {
    // The relative path from bin/ to share/vocalore/ is fixed when the build is
    // configured; the build tree stages its data at the same relative place.
    return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                               .filePath(QStringLiteral(VOCALORE_DATA_RELPATH)));
}

QString DataPath(const QString& name) { return QDir(DataFolder()).filePath(name); }

} // namespace vocalore
