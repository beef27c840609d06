// Control ids of the "SQL command" window (COMMAND).
#pragma once

#define IDC_COMMAND_EXECUTE 101
#define IDC_COMMAND_OEM 102
#define IDC_COMMAND_EDITOR 104
#define IDC_COMMAND_ASSIST 107
