#include "ToolImages.h"

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
    "new",    "open",           "save",  "print",      "undo",         "redo",
    "cut",    "copy",           "paste", "add",        "edit",         "delete",
    "moveup", "movedown",       "sort",  "find",       "starttesting", "passive",
    "active", "multiplechoice", "hint",  "statistics", "options",      "help",
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

} // namespace vocalore
