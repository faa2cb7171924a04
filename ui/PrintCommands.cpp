#include "PrintCommands.h"

#include "CommandSupport.h"
#include "MainWindow.h"

namespace vocalore {

void TPrintCommands::miFilePrintClick() { CommandUnavailable(); }

void TPrintCommands::miFilePageSetupClick() { CommandUnavailable(); }

} // namespace vocalore
