// Table printing after the column choice: the columns whose printSelected flag is set, as a
// fixed-pitch list in preview pages. "&Print..." (printTableCommand) asks for the columns first.
#pragma once

#include "browse/browse_view.h"

// Prints the view's table with the selected columns; does nothing while a printing runs.
void printSelectedColumns(BrowseView& view);
