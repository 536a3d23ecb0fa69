// The Windows program's tables: natively nothing fills them but the tests'
// doubles.
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
