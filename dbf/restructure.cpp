// Field-name and size rules of the structure dialog, and the record copy into a new structure.
#include "dbf/restructure.h"

#include <cstring>
#include <vector>

#include "dbf/table_swap.h"

namespace {

bool isCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

bool isDigitChar(char c) {
    return c >= '0' && c <= '9';
}

// Where one new field takes its text from.
struct FieldPlan {
    int newIndex;
    int oldIndex;  // -1: no old field of this name
    bool newMemo;
    bool oldMemo;
};

}  // namespace

bool isValidFieldName(const char* name) {
    size_t n = name ? strlen(name) : 0;
    if (n == 0 || n > 10)
        return false;
    if (!isCapital(name[0]) && name[0] != '_')
        return false;
    for (size_t i = 1; i < n; ++i) {
        if (!isCapital(name[i]) && !isDigitChar(name[i]) && name[i] != '_')
            return false;
    }
    return true;
}

void correctFieldSize(char type, int& length, int& decimals) {
    if (type == 'N') {
        if (length > 19)
            length = 19;
    } else {
        decimals = 0;
    }
    switch (type) {
        case 'M':
            length = 10;
            break;
        case 'L':
            length = 1;
            break;
        case 'D':
            length = 8;
            break;
        case 'C':
            if (length > 255)
                length = 255;
            break;
        default:
            break;
    }
    // A field of no width would make a table that other readers refuse.
    if ((type == 'C' || type == 'N') && length < 1)
        length = 1;
}

int copyToNewStructure(dbf& old,
                       const FieldDef* defs,
                       int count,
                       const std::string& baseName,
                       FileOps& ops,
                       std::string& newName,
                       ProgressStep progress,
                       void* context) {
    std::string name = freeNumberedName(ops, baseName, 0);
    dbf fresh(name.c_str());
    bool newHasMemo = false;
    for (int i = 0; i < count; ++i)
        newHasMemo = newHasMemo || defs[i].type == 'M';
    auto discard = [&]() {
        fresh.close();
        ops.remove(name.c_str());
        if (newHasMemo)
            ops.remove(memoNameFor(name).c_str());
    };
    fresh.setLanguageDriver(old.languageDriver());  // the record bytes are copied as stored
    if (!fresh.create(defs, count)) {
        discard();
        return 0;
    }
    if (!fresh.open(1)) {
        discard();
        return 0;
    }
    long remembered = old.recNo();
    std::vector<FieldPlan> plan;
    for (int i = 0; i < count; ++i) {
        int oldIndex = old.fieldIndex(defs[i].name);
        plan.push_back({i, oldIndex, defs[i].type == 'M', oldIndex >= 0 && old.fieldType(oldIndex) == 'M'});
    }
    if (!fresh.lockTable()) {
        discard();
        return 0;
    }
    if (!old.lockTable()) {
        fresh.unlock();
        discard();
        return 0;
    }
    bool oldOem = old.oemConversion();
    bool freshOem = fresh.oemConversion();
    old.setOemConversion(false);
    fresh.setOemConversion(false);
    if (progress)
        progress(context, 0);

    long total = old.recCount();
    bool ok = true;
    std::string text;
    old.goTop();
    long copied = 0;
    while (ok && !old.isEof()) {
        ok = fresh.appendBlank() == 1;
        for (size_t i = 0; ok && i < plan.size(); ++i) {
            const FieldPlan& p = plan[i];
            if (p.oldIndex < 0)
                continue;
            text = old.getField(p.oldIndex);
            if (p.oldMemo)
                text = old.readMemo(text.c_str());
            if (p.newMemo) {
                // No block for a memo of nothing: the field stays blank.
                if (text.find_first_not_of(' ') != std::string::npos)
                    ok = fresh.writeMemo(p.newIndex, text.c_str()) == 1;
            } else {
                fresh.setField(p.newIndex, text.c_str());  // a number too wide for the new field stays blank
            }
        }
        if (ok)
            ok = fresh.writeRecord() == 1;
        // A deleted record stays deleted (it is copied only when SET_DELETED shows it).
        if (ok && old.isDeleted())
            ok = fresh.deleteRecord() == 1;
        ++copied;
        if (progress && copied % 102 == 0 && total > 0)
            progress(context, static_cast<int>(old.recNo() * 100 / total + 1));
        old.skip(1);
    }
    old.setOemConversion(oldOem);
    fresh.setOemConversion(freshOem);
    fresh.unlock();
    old.unlock();
    old.goTo(remembered);
    if (!ok) {
        discard();
        return 0;
    }
    fresh.close();
    newName = name;
    return 1;
}
