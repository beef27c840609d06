// The table file swap: rename the old pair aside, the new pair in, then delete the old pair; every
// failure before the last step undoes the renames made so far.
#include "dbf/table_swap.h"

#include <vector>

#include "base/file_platform.h"

namespace {

class SystemFileOps : public FileOps {
  public:
    bool exists(const char* name) override { return platform::fileExists(name); }
    bool rename(const char* from, const char* to) override { return platform::renameFile(from, to); }
    bool remove(const char* name) override { return platform::deleteFile(name); }
};

struct Move {
    std::string from;
    std::string to;
};

// Undoes the renames made so far, last first. False when one of them fails.
bool undo(FileOps& ops, const std::vector<Move>& done) {
    bool ok = true;
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
        if (!ops.rename(it->to.c_str(), it->from.c_str()))
            ok = false;
    }
    return ok;
}

// One name per backup: the memo rule (last character T) would give every numbered backup the same.
std::string backupMemoName(const std::string& backup) {
    return backup + "T";
}

}  // namespace

FileOps& systemFileOps() {
    static SystemFileOps ops;
    return ops;
}

std::string memoNameFor(const std::string& table) {
    std::string name = table;
    if (!name.empty())
        name.back() = 'T';
    return name;
}

std::string freeNumberedName(FileOps& ops, const std::string& base, int start, bool checkBackupMemo) {
    for (int n = start;; ++n) {
        std::string name = base + std::to_string(n);
        if (ops.exists(name.c_str()))
            continue;
        if (checkBackupMemo && ops.exists(backupMemoName(name).c_str()))
            continue;
        return name;
    }
}

SwapOutcome swapTableFiles(FileOps& ops, const std::string& table, const std::string& fresh) {
    SwapOutcome outcome;
    std::string oldMemo = memoNameFor(table);
    std::string newMemo = memoNameFor(fresh);
    bool hasOldMemo = ops.exists(oldMemo.c_str());
    bool hasNewMemo = ops.exists(newMemo.c_str());
    outcome.backup = freeNumberedName(ops, table, 0, true);
    if (hasOldMemo)
        outcome.backupMemo = backupMemoName(outcome.backup);

    std::vector<Move> steps = {{table, outcome.backup}};
    if (hasOldMemo)
        steps.push_back({oldMemo, outcome.backupMemo});
    steps.push_back({fresh, table});
    if (hasNewMemo)
        steps.push_back({newMemo, oldMemo});

    std::vector<Move> done;
    for (const Move& step : steps) {
        if (ops.rename(step.from.c_str(), step.to.c_str())) {
            done.push_back(step);
            continue;
        }
        if (!undo(ops, done)) {
            outcome.result = kSwapBroken;
            return outcome;
        }
        // The old pair is back; the new pair is of no further use.
        ops.remove(fresh.c_str());
        if (hasNewMemo)
            ops.remove(newMemo.c_str());
        outcome.result = kSwapRestored;
        return outcome;
    }
    outcome.result = kSwapDone;
    if (!ops.remove(outcome.backup.c_str()))
        outcome.leftovers = true;
    if (hasOldMemo && !ops.remove(outcome.backupMemo.c_str()))
        outcome.leftovers = true;
    return outcome;
}
