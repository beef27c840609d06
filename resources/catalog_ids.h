// Control ids of the procedure-column dialog.
#pragma once

#define IDC_PROCCOL_EXIT 101
#define IDC_PROCCOL_TEXT 104
