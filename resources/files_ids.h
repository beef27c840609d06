// Control ids of the file panels' input dialog GETEDIT and of the picture viewer PICVIEW.
#pragma once

// GETEDIT: the one-line input; OK is IDOK.
#define IDC_GETEDIT_INPUT 101
// PICVIEW: the bitmap static for raster pictures and the enhanced-metafile static.
#define IDC_PICVIEW_BITMAP 101
#define IDC_PICVIEW_METAFILE 102
