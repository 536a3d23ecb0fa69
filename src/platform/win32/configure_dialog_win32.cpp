#include "platform/configure_dialog.h"

#include <shellapi.h>

ConfigureDialogPlatform ConfigureDialog = {
    .ShellExecuteA = ShellExecuteA,
    .GetWindowsDirectoryA = GetWindowsDirectoryA,
    .LoadLibraryA = LoadLibraryA,
    .LoadCursorA = LoadCursorA,
    .CreateFontIndirectA = CreateFontIndirectA,
    .DeleteObject = DeleteObject,
};
