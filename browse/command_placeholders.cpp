// Handlers named by the command tables whose implementations are not in the tree yet; each does
// nothing. A module that implements one removes its block here (blocks are kept apart so that such
// removals merge cleanly).
#include "browse/browse_commands.h"

namespace {
int (*g_insertScriptWriter)(BrowseView&) = nullptr;
}

void setInsertScriptWriter(int (*writer)(BrowseView&)) {
    g_insertScriptWriter = writer;
}

// The writer needs the data source's quote and server, which only the ODBC module knows.
int insertScriptCommand(BrowseView& view) {
    return g_insertScriptWriter ? g_insertScriptWriter(view) : 1;
}
