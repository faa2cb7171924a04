#pragma once
// The File menu's printing commands: Print and Page Setup. The main window
// owns one instance and forwards its commands here.

namespace vocalore {

class TMainForm;

class TPrintCommands {
public:
    explicit TPrintCommands(TMainForm& form) : FForm(form) {}

    void miFilePrintClick();
    void miFilePageSetupClick();

private:
    TMainForm& FForm;
};

} // namespace vocalore
