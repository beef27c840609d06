// Without windows there is no message to dispatch.
#include "base/progress.h"

bool dispatchWaitingMessage() {
    return false;
}
