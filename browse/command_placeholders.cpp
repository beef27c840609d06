// Handlers named by the command tables whose implementations are not in the tree yet; each does
// nothing. A module that implements one removes its block here (blocks are kept apart so that such
// removals merge cleanly).
#include "browse/browse_commands.h"

int insertScriptCommand(BrowseView&) {
    return 1;
}
