// Control and command ids of the printing dialogs: PRINTCOL, the preview EMF_PREVIEW* and EMAIL.
#pragma once

// PRINTCOL "Columns".
#define IDC_PRINTCOL_LIST 101
// EMF_PREVIEW, EMF_PREVIEW_1024, EMF_PREVIEW_1280: the container of the page viewers.
#define IDC_PREVIEW_PAGES 201
// The preview's toolbar commands.
#define IDC_PREVIEW_FIRST 101
#define IDC_PREVIEW_PREV 102
#define IDC_PREVIEW_NEXT 103
#define IDC_PREVIEW_LAST 104
#define IDC_PREVIEW_LEFTTOP 105
#define IDC_PREVIEW_ZOOM 106
#define IDC_PREVIEW_PRINT 107
#define IDC_PREVIEW_EXIT 108
#define IDC_PREVIEW_EMAIL 109
// EMAIL "E-mail".
#define IDC_EMAIL_PAGES 202
#define IDC_EMAIL_SEND 301
#define IDC_EMAIL_SAVE 302
#define IDC_EMAIL_EXIT 303
#define IDM_EMAIL_CLIENT 391
#define IDM_EMAIL_MAPI 394
