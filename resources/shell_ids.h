// Control ids of the shell's dialogs: PROGRESS2 and ABOUT.
#pragma once

// PROGRESS2: the progress bar; "&Cancel" is IDCANCEL (2).
#define IDC_PROGRESS_BAR 101
// ABOUT: the read-only text and the icon.
#define IDC_ABOUT_TEXT 101
#define IDC_ABOUT_ICON 102
