// Slot bookkeeping and cascade placement of the table windows.
#include "app/window_pool.h"

#include <cstring>

void WindowPool::clear() {
    for (PoolSlot& s : slots_)
        s = PoolSlot();
    left_ = 0;
    top_ = 20;
}

int WindowPool::acquire(const char* title) {
    for (int i = 0; i < kPoolSize; ++i) {
        if (!slots_[i].inUse) {
            slots_[i] = PoolSlot();
            slots_[i].inUse = true;
            std::strncpy(slots_[i].title, title ? title : "", kPoolTitleSize - 1);
            return i;
        }
    }
    return -1;
}

void WindowPool::release(int index) {
    if (index >= 0 && index < kPoolSize)
        slots_[index] = PoolSlot();
}

int WindowPool::find(const void* window) const {
    if (!window)
        return -1;
    for (int i = 0; i < kPoolSize; ++i) {
        if (slots_[i].inUse && slots_[i].window == window)
            return i;
    }
    return -1;
}

int WindowPool::inUseCount() const {
    int count = 0;
    for (const PoolSlot& s : slots_)
        count += s.inUse ? 1 : 0;
    return count;
}

CascadePosition WindowPool::nextPosition() {
    left_ += 20;
    top_ += 20;
    if (left_ > 300) {
        left_ = 20;
        top_ = 20;
    }
    return {left_, top_};
}

WindowPool& tablePool() {
    static WindowPool pool;
    return pool;
}
