// Loading a data file and building the day report at 1,000 to 1,000,000
// records.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "app/TodayCore.h"
#include "bench/DataGen.h"
#include "export/Export.h"
#include "records/DataFile.h"

namespace {

// The report without a window.
class BenchCore : public CTodayCore {
public:
    BenchCore() : CTodayCore(0) {}

protected:
    void ShowError(const std::string&) override {}
    void RequestQuit() override {}
    void ShowReport() override { benchmark::DoNotOptimize(m_showNextDays.data()); }
};

// One generated file per size, in a private directory removed at exit.
class Files {
public:
    ~Files()
    {
        for (const auto& f : m_files)
            std::remove(f.second.c_str());
        if (!m_dir.empty())
            ::rmdir(m_dir.c_str());
    }
    const std::string& Get(int records)
    {
        auto it = m_files.find(records);
        if (it != m_files.end())
            return it->second;
        if (m_dir.empty()) {
            const char* base = std::getenv("TMPDIR");
            std::string tmpl = std::string(base && *base ? base : "/tmp") + "/tolvari_bench.XXXXXX";
            if (::mkdtemp(&tmpl[0]))
                m_dir = tmpl;
        }
        const std::string path = m_dir + "/" + std::to_string(records) + ".dat";
        const std::string bytes = GenerateDataFile(records);
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return m_files[records] = path;
    }

private:
    std::string m_dir;
    std::map<int, std::string> m_files;
};

Files g_files;

void BM_LoadDataFile(benchmark::State& state)
{
    const std::string& path = g_files.Get(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        RecordList list;
        if (!LoadDataFile(path, list))
            state.SkipWithError("cannot read the data file");
        benchmark::DoNotOptimize(list.m_nCount);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadDataFile)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_FindInfo(benchmark::State& state)
{
    const int records = static_cast<int>(state.range(0));
    BenchCore core;
    core.m_nCount = AppendRecords(core, std::make_shared<const std::string>(GenerateDataFile(records)));
    // 5 March 2001, a Monday.
    core.m_nDay = 5;
    core.m_nMonth = 3;
    core.m_nYear = 2001;
    core.m_nDOW = 2;
    for (auto _ : state)
        core.FindInfo();
    state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_FindInfo)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// With HOLIDAYS=CZ, at 100,000 records: on 25 March 2027, Good Friday and
// Easter Monday in the look-ahead (argument 0); on 27 February 2027, the
// 29.02 records on the 28th (argument 1).
void BM_FindInfoMovingDays(benchmark::State& state)
{
    BenchCore core;
    core.m_nCount = AppendRecords(core, std::make_shared<const std::string>(GenerateDataFile(100000)));
    core.m_strHolidays = "CZ";
    core.m_nDay = state.range(0) ? 27 : 25;
    core.m_nMonth = state.range(0) ? 2 : 3;
    core.m_nYear = 2027;
    core.m_nDOW = state.range(0) ? 7 : 5;
    for (auto _ : state)
        core.FindInfo();
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_FindInfoMovingDays)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_SaveDataFile(benchmark::State& state)
{
    const int records = static_cast<int>(state.range(0));
    RecordList list;
    list.m_nCount = AppendRecords(list, std::make_shared<const std::string>(GenerateDataFile(records)));
    const std::string path = g_files.Get(records) + ".saved";
    for (auto _ : state) {
        if (!SaveDataFile(path, list, 0))
            state.SkipWithError("cannot write the data file");
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_SaveDataFile)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The calendar text of every record (holidays, calendar entries and a
// reminder included), as --export makes it while it writes.
void BM_ExportICalendar(benchmark::State& state)
{
    const int records = static_cast<int>(state.range(0));
    RecordList list;
    list.m_nCount = AppendRecords(list, std::make_shared<const std::string>(GenerateDataFile(records)));
    ExportChoice choice;
    choice.holidays = choice.calendar = true;
    choice.remindDays = 7;
    size_t bytes = 0;
    for (auto _ : state) {
        ExportCounts counts;
        bytes = 0;
        FormatICalendar(
            list, choice, "20261207T050000Z", [](const std::string&, bool) {}, counts,
            [&](std::string_view piece) { return bytes += piece.size(), true; });
    }
    state.counters["MiB"] = static_cast<double>(bytes) / (1 << 20);
    state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_ExportICalendar)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
