// Resource and menu ids of the table grid.
#pragma once

// Pop-up menu of a grid: item id = command code + 2000; the OEM/ANSI toggle of table windows.
#define IDM_GRID_COMMAND_BASE 2000
#define IDM_GRID_OEMTOANSI 3000
