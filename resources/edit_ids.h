// Control ids of the record-editing dialog MEMODLG.
#pragma once

#define IDC_MEMO_SAVE 101
#define IDC_MEMO_TEXT 104
