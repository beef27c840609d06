// The pool of table windows the shell opens (at most 15) and the cascade that places them.
#pragma once

constexpr int kPoolSize = 15;
constexpr int kTableWindowWidth = 750;
constexpr int kTableWindowHeight = 450;
constexpr int kTableRowHeight = 20;
constexpr int kPoolTitleSize = 136;

struct PoolSlot {
    bool inUse = false;
    void* window = nullptr;           // the Tbl window (HWND)
    void* table = nullptr;            // the table shown, owned by the window once it exists
    char title[kPoolTitleSize] = "";  // the table's file name
};

struct CascadePosition {
    int left;
    int top;
};

class WindowPool {
  public:
    // Frees every slot and puts the cascade back to its start (left 0, top 20).
    void clear();
    // Takes the first free slot for `title`; its index, or -1 when all 15 are in use.
    int acquire(const char* title);
    void release(int index);
    // The slot showing `window`, or -1.
    int find(const void* window) const;
    int inUseCount() const;
    PoolSlot& slot(int index) { return slots_[index]; }
    const PoolSlot& slot(int index) const { return slots_[index]; }
    // The place of the next table window: 20 right and 20 down from the last one; after a left
    // edge beyond 300 it starts again at 20,20.
    CascadePosition nextPosition();

  private:
    PoolSlot slots_[kPoolSize];
    int left_ = 0;
    int top_ = 20;
};

// The shell's pool.
WindowPool& tablePool();
