#include "platform/configure_dialog.h"

#include <shellapi.h>

ConfigureDialogPlatform ConfigureDialog = {
    ShellExecuteA,
    GetWindowsDirectoryA,
    LoadLibraryA,
    LoadCursorA,
    CreateFontIndirectA,
    DeleteObject,
};
