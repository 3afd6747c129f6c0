// Numbers of the launcher's resources, shared by the resource script and the code.
// Plain macros, because the resource compiler reads this file too.
#pragma once

// String table.
#define IDS_ELEVATION_PROMPT 122
#define IDS_ERROR_CAPTION 123
#define IDS_ERROR_HEADING 124
#define IDS_CRITICAL_FAILURE 125

// The replace-mode window's single line of text.
#define IDC_VERIFY_TEXT 401
