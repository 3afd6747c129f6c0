/* The launcher's string table: ids and texts, shared by the resource script and by
   the simulated workstation. Plain C preprocessor definitions, so that the resource
   compiler reads this file too. */
#ifndef PORTAVEL_UI_STRING_TABLE_H
#define PORTAVEL_UI_STRING_TABLE_H

#define IDS_ELEVATION_PROMPT 122
#define IDS_ERROR_CAPTION 123
#define IDS_ERROR_FIRST_LINE 124
#define IDS_CRITICAL_FAILURE 125

#define TEXT_ELEVATION_PROMPT \
  "This application requires administrator rights through User Account Control elevation. Proceed?"
#define TEXT_ERROR_CAPTION "Portavel"
#define TEXT_ERROR_FIRST_LINE "An error has occurred:"
#define TEXT_CRITICAL_FAILURE \
  "A critical failure has occurred and Portavel must close. Please review logs for details."

#endif
