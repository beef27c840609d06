// Table engine benchmarks on a generated table (C30, N10.2, D8, L1, C60, 2% deleted): a full scan against
// shapelib reading the same file, random goTo, appending under one table lock, reading memos, and the
// peak memory of a scan. `--short` runs small sizes so the benchmark keeps building and running in CI.
#include <benchmark/benchmark.h>
#include <shapefil.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "base/settings.h"
#include "dbf/dbf.h"

namespace {

struct Sizes {
    long records = 1000000;
    long appends = 100000;
    long memos = 100000;
    long small = 10000;
};

Sizes sizes;
std::string folder;
std::string bigTable, smallTable, memoTable;

FieldDef def(const char* name, char type, uint16_t width, uint8_t decimals = 0) {
    FieldDef d = {};
    snprintf(d.name, sizeof d.name, "%s", name);
    d.type = type;
    d.width = width;
    d.decimals = decimals;
    return d;
}

const FieldDef kFields[] = {def("NAME", 'C', 30), def("AMOUNT", 'N', 10, 2), def("DAY", 'D', 8), def("OK", 'L', 1),
                            def("NOTE", 'C', 60)};

// Writes the records straight behind the header `create` wrote, then sets the count: fast, and independent
// of the code under measurement.
void generate(const std::string& name, long count) {
    dbf maker(name.c_str());
    if (!maker.create(kFields, 5))
        abort();
    std::fstream out(name, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(0, std::ios::end);
    std::mt19937 random(42);
    std::string record(110, ' ');
    std::vector<char> chunk;
    chunk.reserve(110 * 4096);
    for (long i = 1; i <= count; ++i) {
        char text[128];
        record[0] = i % 50 == 0 ? '*' : ' ';
        snprintf(text, sizeof text, "%-30.30s",
                 i % 3 ? "Kov\xA0"
                         "cs J\xA0nos"
                       : "Szab\xA2 \x90va");
        memcpy(&record[1], text, 30);
        snprintf(text, sizeof text, "%10.2f", (random() % 10000000) / 100.0);
        memcpy(&record[31], text, 10);
        snprintf(text, sizeof text, "%04d%02d%02d", 1950 + static_cast<int>(random() % 70),
                 1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 28));
        memcpy(&record[41], text, 8);
        record[49] = random() % 2 ? 'T' : 'F';
        snprintf(text, sizeof text, "%-60.60s", "megjegyz\x82s a rekordhoz, sz\xA0m szerint");
        memcpy(&record[50], text, 60);
        chunk.insert(chunk.end(), record.begin(), record.end());
        if (chunk.size() >= 110 * 4096 || i == count) {
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
    }
    uint8_t bytes[4] = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8),
                        static_cast<uint8_t>(count >> 16), static_cast<uint8_t>(count >> 24)};
    out.seekp(4);
    out.write(reinterpret_cast<const char*>(bytes), 4);
}

void generateMemos(const std::string& name, long count) {
    FieldDef fields[] = {def("ID", 'N', 8), def("TEXT", 'M', 10)};
    dbf t(name.c_str());
    if (!t.create(fields, 2) || !t.open(1) || !t.lockTable())
        abort();
    for (long i = 0; i < count; ++i) {
        std::string text = "memo " + std::to_string(i) + " " + std::string(static_cast<size_t>(50 + i % 700), 'm');
        if (!t.appendBlank() || !t.setField(0, std::to_string(i).c_str()) || !t.writeRecord() ||
            t.writeMemo(1, text.c_str()) != 1)
            abort();
    }
    t.unlock();
}

long peakKb() {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long scanEngine(const std::string& name) {
    dbf t(name.c_str());
    if (!t.open(0))
        abort();
    long n = 0;
    for (t.goTop(); !t.isEof(); t.skip(1)) {
        for (int i = 0; i < 5; ++i)
            benchmark::DoNotOptimize(t.getField(i));
        ++n;
    }
    return n;
}

void BM_ScanEngine(benchmark::State& state) {
    long n = 0;
    for (auto _ : state)
        n = scanEngine(bigTable);
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_ScanShapelib(benchmark::State& state) {
    long n = 0;
    for (auto _ : state) {
        DBFHandle h = DBFOpen(bigTable.c_str(), "rb");
        n = DBFGetRecordCount(h);
        for (long r = 0; r < n; ++r)
            for (int i = 0; i < 5; ++i)
                benchmark::DoNotOptimize(DBFReadStringAttribute(h, static_cast<int>(r), i));
        DBFClose(h);
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_RandomGoTo(benchmark::State& state) {
    dbf t(bigTable.c_str());
    if (!t.open(0))
        abort();
    std::mt19937 random(7);
    for (auto _ : state) {
        t.goTo(1 + static_cast<long>(random() % static_cast<unsigned long>(sizes.records)));
        for (int i = 0; i < 5; ++i)
            benchmark::DoNotOptimize(t.getField(i));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_AppendUnderTableLock(benchmark::State& state) {
    std::string name = folder + "/APPEND.DBF";
    for (auto _ : state) {
        state.PauseTiming();
        dbf maker(name.c_str());
        maker.create(kFields, 5);
        state.ResumeTiming();
        dbf t(name.c_str());
        if (!t.open(1) || !t.lockTable())
            abort();
        for (long i = 0; i < sizes.appends; ++i) {
            t.appendBlank();
            t.setField(0,
                       "Kov\xE1"
                       "cs J\xE1nos");
            t.setField(1, "12345.678");
            t.setField(2, "2024.02.29");
            t.setField(3, "T");
            t.setField(4, "megjegyz\xE9s");
            t.writeRecord();
        }
        t.unlock();
    }
    state.SetItemsProcessed(state.iterations() * sizes.appends);
}

void BM_ReadMemo(benchmark::State& state) {
    dbf t(memoTable.c_str());
    if (!t.open(0))
        abort();
    long n = 0;
    for (auto _ : state) {
        n = 0;
        for (t.goTop(); !t.isEof(); t.skip(1), ++n)
            benchmark::DoNotOptimize(t.readMemo(t.getField(1)));
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// Keeps each benchmark's rate for the ratios printed at the end.
class RateReporter : public benchmark::ConsoleReporter {
  public:
    RateReporter() : ConsoleReporter(OO_None) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            auto it = run.counters.find("items_per_second");
            if (it != run.counters.end())
                rates[run.benchmark_name()] = it->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> rates;
};

}  // namespace

BENCHMARK(BM_ScanEngine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanShapelib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomGoTo);
BENCHMARK(BM_AppendUnderTableLock)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMemo)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    std::vector<char*> args;
    static char minTime[] = "--benchmark_min_time=0.01";
    for (int i = 0; i < argc; ++i) {
        if (strcmp(argv[i], "--short") == 0) {
            sizes = {20000, 2000, 2000, 2000};
            args.push_back(minTime);
        } else {
            args.push_back(argv[i]);
        }
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());

    resetSettings();
    const char* base = getenv("QUARROW_BENCH_DIR");
    folder = (base && *base ? std::string(base) : std::filesystem::temp_directory_path().string()) + "/quarrow-bench-" +
             std::to_string(getpid());
    std::filesystem::create_directories(folder);
    bigTable = folder + "/BIG.DBF";
    smallTable = folder + "/SMALL.DBF";
    memoTable = folder + "/MEMO.DBF";
    generate(bigTable, sizes.records);
    generate(smallTable, sizes.small);
    generateMemos(memoTable, sizes.memos);
    printf("table: %ld records, %ju bytes\n", sizes.records,
           static_cast<uintmax_t>(std::filesystem::file_size(bigTable)));

    // Peak memory of a scan: the small table first, then the big one; the difference is what size costs.
    long before = peakKb();
    if (scanEngine(smallTable) != sizes.small)
        fprintf(stderr, "small scan count mismatch\n");
    long afterSmall = peakKb();
    long seen = scanEngine(bigTable);
    long afterBig = peakKb();
    printf("peak RSS: %ld KB before, %ld KB after scanning %ld records, %ld KB after scanning %ld records\n", before,
           afterSmall, sizes.small, afterBig, seen);

    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double engine = reporter.rates["BM_ScanEngine"];
    double shapelib = reporter.rates["BM_ScanShapelib"];
    printf("full scan: engine %.2f M records/s, shapelib %.2f M records/s, ratio %.2f\n", engine / 1e6, shapelib / 1e6,
           shapelib > 0 ? engine / shapelib : 0.0);
    printf("random goTo: %.2f M/s; append: %.2f M records/s; readMemo: %.2f M memos/s\n",
           reporter.rates["BM_RandomGoTo"] / 1e6, reporter.rates["BM_AppendUnderTableLock"] / 1e6,
           reporter.rates["BM_ReadMemo"] / 1e6);
    printf("peak memory growth from %ld to %ld records: %ld KB\n", sizes.small, seen, afterBig - afterSmall);
    std::filesystem::remove_all(folder);
    bool ok = seen == sizes.records && engine > 0 && shapelib > 0;
    return ok ? 0 : 1;
}
