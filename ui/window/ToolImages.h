#pragma once
// The 25 images of the tool bar and menus (16 x 16), in their fixed order,
// and the larger pictures of the dialogs.

#include <QIcon>
#include <QPixmap>

namespace vocalore {

enum TToolImage : int {
    tiNew,
    tiOpen,
    tiSave,
    tiPrint,
    tiUndo,
    tiRedo,
    tiCut,
    tiCopy,
    tiPaste,
    tiAdd,
    tiEdit,
    tiDelete,
    tiMoveUp,
    tiMoveDown,
    tiSort,
    tiFind,
    tiStartTesting,
    tiPassive,
    tiActive,
    tiMultipleChoice,
    tiHint,
    tiStatistics,
    tiOptions,
    tiHelp,
    tiSpeak,
    tiCount
};

// The image of an index 0..24; a null icon for any other.
QIcon ToolImage(int index);
// Resource path of an image, e.g. ":/icons/open.png".
QString ToolImagePath(int index);

// The program's own icon in every size of the hicolor theme: the desktop's
// theme when it knows "vocalore", else the icons installed beside the data
// folder (share/icons/hicolor/SIZE/apps/vocalore.png, also in the build
// tree); the 32 x 32 program picture when there are none.
QIcon ApplicationIcon();
// The icon from the hicolor folder below `iconsFolder`; null when it holds none.
QIcon HicolorIcon(const QString& iconsFolder);

// 32 x 32 pictures: the program, a document, the tip light bulb.
QPixmap ProgramPicture();
QPixmap DocumentPicture();
QPixmap TipPicture();

} // namespace vocalore
