#include "ToolImages.h"

#include "datafolder/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

// Resources of a static library must be registered by hand.
static void InitIconResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)done;
}

namespace vocalore {

namespace {

constexpr const char* imageNames[tiCount] = {
    "new",        "open",    "save",         "print",   "undo",   "redo",           "cut",
    "copy",       "paste",   "add",          "edit",    "delete", "moveup",         "movedown",
    "sort",       "find",    "starttesting", "passive", "active", "multiplechoice", "hint",
    "statistics", "options", "help",         "speak",
};

QPixmap Picture(const char* name) {
    InitIconResources();
    return QPixmap(QStringLiteral(":/icons/%1.png").arg(QLatin1String(name)));
}

} // namespace

QString ToolImagePath(int index) {
    if (index < 0 || index >= tiCount)
        return {};
    return QStringLiteral(":/icons/%1.png").arg(QLatin1String(imageNames[index]));
}

QIcon ToolImage(int index) {
    InitIconResources();
    const QString path = ToolImagePath(index);
    return path.isEmpty() ? QIcon() : QIcon(path);
}

QPixmap ProgramPicture() { return Picture("vocalore32"); }
QPixmap DocumentPicture() { return Picture("document32"); }
QPixmap TipPicture() { return Picture("tip32"); }

QIcon HicolorIcon(const QString& iconsFolder) {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file =
            QDir(iconsFolder).filePath(QStringLiteral("hicolor/%1x%1/apps/vocalore.png").arg(size));
        if (QFileInfo::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    return icon;
}

QIcon ApplicationIcon() {
    QIcon themed = QIcon::fromTheme(QStringLiteral("vocalore"));
    if (!themed.isNull())
        return themed;
    QIcon installed = HicolorIcon(QDir(DataFolder()).filePath(QStringLiteral("../icons")));
    if (!installed.isNull())
        return installed;
    return QIcon(ProgramPicture());
}

} // namespace vocalore
