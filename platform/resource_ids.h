/* Numbers and texts of the launcher's resources, shared by the resource script, the
   code and the simulated workstation. Plain macros, because the resource compiler
   reads this file too. */
#ifndef PORTAVEL_UI_RESOURCE_IDS_H
#define PORTAVEL_UI_RESOURCE_IDS_H

/* String table. */
#define IDS_ELEVATION_PROMPT 122
#define IDS_ERROR_CAPTION 123
#define IDS_ERROR_HEADING 124
#define IDS_CRITICAL_FAILURE 125

#define TEXT_ELEVATION_PROMPT \
  "This application requires administrator rights through User Account Control elevation. Proceed?"
#define TEXT_ERROR_CAPTION "Portavel"
#define TEXT_ERROR_HEADING "An error has occurred:"
#define TEXT_CRITICAL_FAILURE \
  "A critical failure has occurred and Portavel must close. Please review logs for details."

/* The replace-mode window's single line of text. */
#define IDC_VERIFY_TEXT 401

/* The elevation dialog: its two buttons, the shield picture and the prompt, whose
   template text is replaced by string 122 when the dialog opens. */
#define IDC_ELEVATE 1007
#define IDC_ELEVATION_CANCEL 1008
#define IDC_SHIELD_PICTURE 1000
#define IDC_ELEVATION_TEXT -1

/* Bitmaps: the elevation dialog's shield (64 x 64, black is transparent) and the
   splash window's background (550 x 280), both 24 bits per pixel. */
#define IDB_SHIELD 2002
#define IDB_SPLASH 2011

#endif
