#pragma once
// The About dialog: the program's name and version.

#include <QDialog>

namespace vocalore {

inline constexpr const char* VersionText = "Version 2.0";

class TAboutDialog : public QDialog {
public:
    explicit TAboutDialog(QWidget* owner);
    static void Execute(QWidget* owner);
};

} // namespace vocalore
