// Identifiers and texts shared by the resource script and the program.
// Kept free of C++ so that the resource compiler can read it.
#pragma once

#include "lumenfall_version.h"

#define IDS_DESCRIPTION 1
#define IDS_APP_NAME 1007
#define IDI_LUMENFALL 107
#define IDD_CONFIGURE 2003

#define IDC_WEBLINK 1011
#define IDC_MAILLINK 1012

// The links of the about box: the control shows the address, and the shell
// opens the URL built from the same text, so the two cannot drift apart.
#define LUMENFALL_MAIL_ADDRESS "lumenfall@example.org"
#define LUMENFALL_WEB_HOST "www.example.org"
#define LUMENFALL_MAIL_URL "mailto:" LUMENFALL_MAIL_ADDRESS
#define LUMENFALL_WEB_URL "http://" LUMENFALL_WEB_HOST "/"

// The about text: the links lie over its empty lines (7 to 9 and 11 to 14).
#define LUMENFALL_ABOUT_TEXT \
    "\nLumenfall\n\nVersion " LUMENFALL_VERSION_TEXT "\n\nBy the Lumenfall developers" \
    "\n\n\n\nJune 2001\n\n\n\n\nFree to share and enjoy.\n\nNo warranty of any kind."
