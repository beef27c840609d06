// Whole-table operations on one generated table (1,000,000 records of C30, N10.2, D8, L1, C60; 2% deleted),
// each timed beside a plain reference in the same run: sortRecords by the C30 field against qsort of the same
// records by the same bytes, packToNew against copying the file with cp, and the text and HTML exports
// against writing the same number of bytes. `--short` uses 100,000 records.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "base/settings.h"
#include "dbf/dbf.h"

namespace {

constexpr size_t kRecordLength = 110;
constexpr size_t kNameOffset = 1, kNameWidth = 30;

double seconds(const std::chrono::steady_clock::time_point& since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

FieldDef def(const char* name, char type, uint16_t width, uint8_t decimals = 0) {
    FieldDef d = {};
    snprintf(d.name, sizeof d.name, "%s", name);
    d.type = type;
    d.width = width;
    d.decimals = decimals;
    return d;
}

// Random names over letters of code page 852 (Hungarian accented vowels among them), so that the sort has
// real work: few equal keys, long shared prefixes among some.
void generate(const std::string& name, long count) {
    const FieldDef fields[] = {def("NAME", 'C', 30), def("AMOUNT", 'N', 10, 2), def("DAY", 'D', 8), def("OK", 'L', 1),
                               def("NOTE", 'C', 60)};
    dbf maker(name.c_str());
    if (!maker.create(fields, 5))
        abort();
    std::fstream out(name, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(0, std::ios::end);
    std::mt19937 random(7);
    const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ \xA0\x82\xA1\xA2\x94\x8B\xA3\x81\xFB";
    const char* prefixes[] = {
        "Kov\xA0"
        "cs ",
        "Szab\xA2 ", "Nagy ", ""};
    std::string record(kRecordLength, ' ');
    std::vector<char> chunk;
    for (long i = 1; i <= count; ++i) {
        char text[128];
        record[0] = i % 50 == 0 ? '*' : ' ';
        std::string n = prefixes[random() % 4];
        size_t length = 4 + random() % 20;
        while (n.size() < length)
            n.push_back(letters[random() % (sizeof letters - 1)]);
        snprintf(text, sizeof text, "%-30.30s", n.c_str());
        memcpy(&record[1], text, 30);
        snprintf(text, sizeof text, "%10.2f", (random() % 10000000) / 100.0);
        memcpy(&record[31], text, 10);
        snprintf(text, sizeof text, "%04d%02d%02d", 1950 + static_cast<int>(random() % 70),
                 1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 28));
        memcpy(&record[41], text, 8);
        record[49] = random() % 2 ? 'T' : 'F';
        snprintf(text, sizeof text, "%-60.60s", "megjegyz\x82s a rekordhoz & <sz\xA0m> szerint");
        memcpy(&record[50], text, 60);
        chunk.insert(chunk.end(), record.begin(), record.end());
        if (chunk.size() >= kRecordLength * 8192 || i == count) {
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
    }
    uint8_t bytes[4];
    for (int k = 0; k < 4; ++k)
        bytes[k] = static_cast<uint8_t>(static_cast<unsigned long>(count) >> (8 * k));
    out.seekp(4);
    out.write(reinterpret_cast<const char*>(bytes), 4);
}

std::vector<char> readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& name, const std::vector<char>& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

int compareNames(const void* a, const void* b) {
    return memcmp(static_cast<const char*>(a) + kNameOffset, static_cast<const char*>(b) + kNameOffset, kNameWidth);
}

// The reference for an export: the same number of bytes written to a new file in 1 MB pieces.
double writeReference(const std::string& name, size_t count) {
    std::vector<char> block(1 << 20, 'x');
    auto start = std::chrono::steady_clock::now();
    FILE* f = fopen(name.c_str(), "wb");
    if (!f)
        abort();
    for (size_t done = 0; done < count; done += block.size())
        fwrite(block.data(), 1, std::min(block.size(), count - done), f);
    fclose(f);
    return seconds(start);
}

double fileMegabytes(const std::string& name) {
    return static_cast<double>(std::filesystem::file_size(name)) / (1024.0 * 1024.0);
}

// The best of `runs` timings: the machine is shared, and the fastest run is the one least disturbed.
template <typename F>
double best(int runs, F f) {
    double fastest = 1e30;
    for (int i = 0; i < runs; ++i)
        fastest = std::min(fastest, f());
    return fastest;
}

}  // namespace

int main(int argc, char** argv) {
    long records = 1000000;
    for (int i = 1; i < argc; ++i)
        if (strcmp(argv[i], "--short") == 0)
            records = 100000;
    resetSettings();
    const char* base = getenv("QUARROW_BENCH_DIR");
    std::string folder = (base && *base ? std::string(base) : std::filesystem::temp_directory_path().string()) +
                         "/quarrow-maint-bench-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    std::string table = folder + "/BIG.DBF", pristine = folder + "/PRISTINE.DBF";
    generate(pristine, records);
    const std::vector<char> original = readFile(pristine);
    printf("table %ld records of %zu bytes, %.1f MB\n", records, kRecordLength, fileMegabytes(pristine));
    const int runs = 3;
    bool failed = false;

    // Sort by NAME: the engine (read, sort, write back) against qsort of the records in memory.
    size_t headerLength = original.size() - static_cast<size_t>(records) * kRecordLength;
    double reference = best(runs, [&] {
        std::vector<char> copy(original.begin() + static_cast<long>(headerLength), original.end());
        auto start = std::chrono::steady_clock::now();
        qsort(copy.data(), static_cast<size_t>(records), kRecordLength, compareNames);
        return seconds(start);
    });
    for (const char* collation : {"0", "1"}) {
        setting(SET_HUN_CMP, collation);
        double sorted = best(runs, [&] {
            writeFile(table, original);
            dbf t(table.c_str());
            if (!t.open(1))
                abort();
            auto start = std::chrono::steady_clock::now();
            failed |= t.sortRecords("NAME", nullptr) != 1;
            return seconds(start);
        });
        printf("sort by C30 (SET_HUN_CMP %s): %.3f s, qsort of the same records %.3f s, ratio %.2f\n", collation,
               sorted, reference, sorted / reference);
    }
    resetSettings();

    // Pack (2% deleted) into a new file against cp of the table file.
    writeFile(table, original);
    double copied = best(runs, [&] {
        std::string command = "cp '" + table + "' '" + folder + "/COPY.DBF'";
        auto start = std::chrono::steady_clock::now();
        failed |= std::system(command.c_str()) != 0;
        return seconds(start);
    });
    double packed = best(runs, [&] {
        dbf t(table.c_str());
        if (!t.open(1))
            abort();
        char out[512];
        auto start = std::chrono::steady_clock::now();
        failed |= t.packToNew(out) != 1;
        double s = seconds(start);
        t.close();
        std::filesystem::remove(out);
        return s;
    });
    printf("pack: %.3f s, cp of the file %.3f s, ratio %.2f\n", packed, copied, packed / copied);

    // Exports against writing as many bytes.
    for (int html = 0; html < 2; ++html) {
        std::string out = folder + (html ? "/OUT.HTM" : "/OUT.TXT");
        const char* titles[] = {"Name", "Amount", "Day", "OK", "Note"};
        double exported = best(runs, [&] {
            dbf t(table.c_str());
            if (!t.open(1))
                abort();
            auto start = std::chrono::steady_clock::now();
            failed |= (html ? t.exportHtml(out.c_str(), "Quarrow", titles) : t.exportText(out.c_str())) != 1;
            return seconds(start);
        });
        double megabytes = fileMegabytes(out);
        double written = best(runs, [&] {
            return writeReference(folder + "/PLAIN.OUT", static_cast<size_t>(std::filesystem::file_size(out)));
        });
        printf("%s export: %.1f MB in %.3f s (%.0f MB/s), writing as many bytes %.3f s (%.0f MB/s), ratio %.2f\n",
               html ? "html" : "text", megabytes, exported, megabytes / exported, written, megabytes / written,
               exported / written);
    }
    std::filesystem::remove_all(folder);
    if (failed)
        printf("an operation failed\n");
    return failed ? 1 : 0;
}
