// The Windows program's platform tables, for the native tests of the
// framework and the window procedures: the Linux program runs neither, so
// nothing fills these but the tests' own doubles.
#include "platform/close_rules.h"
#include "platform/entry.h"
#include "platform/password_hooks.h"
#include "platform/render_window.h"
#include "platform/saver_window.h"

EntryPlatform Entry = {};
CloseRulesPlatform CloseRules = {};
PasswordHooksPlatform PasswordHooks = {};
SaverWindowPlatform SaverWindowOps = {};
RenderWindowPlatform RenderWindow = {};
