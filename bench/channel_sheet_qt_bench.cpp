// How quick the channel table is as a sheet, on a job of 1000 channels: the sheet opening (built,
// laid out and painted whole), a page of it scrolled and painted, and a fill series over all 1000
// rows with the store rules applied after it, both as the pure rules and through the form (with
// its undo step, the list shown again and the job stored), the same over three columns at once,
// and a channel added after the current one (Ctrl+Enter) on a table of 999.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QUndoStack>
#include <memory>
#include <vector>

#include "Dialogs.h"
#include "forms/Undo.h"
#include "forms/pmr/ChannelSheetView.h"
#include "forms/pmr/ChnForm.h"
#include "pmr/ChannelSheet.h"
#include "tables/Tables.h"

namespace {

using km::pmr::SheetColumn;

class SilentPerson : public km::Person {
  public:
    km::Answer Show(km::BoxKind, std::string_view, km::Buttons) override { return km::Answer::Ok; }
    void Beep() override {}
};

class NoShell : public km::Shell {
  public:
    void ShowFormButtons() override {}
    void ShowNetworkLabel() override {}
    bool StoreNetworkForms() override { return true; }
    void SelectNetwork(int) override {}
    void ShowForm(km::FormId) override {}
    void ReloadForm(km::FormId) override {}
};

constexpr int kBandUwEntry = 12;  // 440-500 MHz

km::pmr::ChannelTable ThousandChannels(int count = 1000) {
    km::pmr::ChannelTable table;
    for (int n = 0; n < count; ++n) {
        km::pmr::ChannelEntry entry = km::pmr::DefaultEntry(440000000 + 12500LL * n);
        entry.SetNumber(n);
        entry.SetName("Channel " + std::to_string(n));
        table.Add(entry);
    }
    return table;
}

std::vector<std::size_t> AllRows() {
    std::vector<std::size_t> rows(1000);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = i;
    }
    return rows;
}

km::pmr::SheetContext Context() {
    return {.band = *km::pmr::LimitsOfBand(0x5557, 0), .radioTypeMask = 16};
}

// A PMR job of 1000 channels (or `count`) with its Channel Options form loaded (the list shown).
struct Job {
    explicit Job(int count = 1000) {
        km::undo::SetStack(&history);
        state.ImageKind = km::kImagePmr;
        state.PmrJobLoaded = true;
        state.RadioModeMask = 1;
        state.RadioTypeMask = 16;
        state.BandSelected = kBandUwEntry;
        km::tables::FillTemplateDefaults(km::fields::ImageId::Pmr, workspace->pmr.Bytes());
        workspace->pmr.SetU16(km::pmr::kBandCode, 0x5557);
        workspace->pmr.SetU16(14, 5860);
        km::pmr::StoreChannelTable(ThousandChannels(count), {.radioTypeMask = 16}, workspace->pmr,
                                   person);
        form = std::make_unique<km::TCHN_Form_Channels>(
            km::FormContext{*workspace, state, person, dialogs, shell});
        form->resize(1200, 800);
        form->LoadPass();
    }
    ~Job() { km::undo::SetStack(nullptr); }

    QUndoStack history;
    std::unique_ptr<km::Workspace> workspace = std::make_unique<km::Workspace>();
    km::MainState state;
    SilentPerson person;
    km::QtDialogs dialogs;
    NoShell shell;
    std::unique_ptr<km::TCHN_Form_Channels> form;
};

void BM_SheetOpens(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Job job;
        job.form->show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        job.form->ShowAsTable(true);
        benchmark::DoNotOptimize(job.form->Sheet()->grab());
        state.PauseTiming();
        job.form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SheetOpens)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_SheetScrollsAPage(benchmark::State& state) {
    Job job;
    job.form->show();
    job.form->ShowAsTable(true);
    QTableView& grid = job.form->Sheet()->SHT_Grid_Channels;
    QScrollBar& bar = *grid.verticalScrollBar();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        const int next = bar.value() + bar.pageStep();
        bar.setValue(next > bar.maximum() ? 0 : next);
        grid.viewport()->repaint();
    }
}
BENCHMARK(BM_SheetScrollsAPage)->Unit(benchmark::kMillisecond);

void BM_FillSeriesThousandWithStore(benchmark::State& state) {
    km::pmr::ChannelTable table = ThousandChannels();
    const std::vector<std::size_t> rows = AllRows();
    auto image = std::make_unique<km::PmrJobImage>();
    SilentPerson person;
    std::int64_t step = 12500;
    for (auto _ : state) {
        step = step == 12500 ? 6250 : 12500;  // every fill changes every row
        const auto result = km::pmr::FillSeries(table, SheetColumn::Tx, rows, step, Context());
        km::pmr::StoreChannelTable(table, {.radioTypeMask = 16}, *image, person);
        benchmark::DoNotOptimize(result.changed);
    }
}
BENCHMARK(BM_FillSeriesThousandWithStore)->Unit(benchmark::kMillisecond);

void BM_FillSeriesThousandThroughTheSheet(benchmark::State& state) {
    Job job;
    job.form->ShowAsTable(true);
    auto& model = dynamic_cast<km::ChannelSheetModel&>(*job.form->Sheet()->Proxy().sourceModel());
    const std::vector<std::size_t> rows = AllRows();
    std::int64_t step = 12500;
    for (auto _ : state) {
        step = step == 12500 ? 6250 : 12500;
        benchmark::DoNotOptimize(model.FillSeries(SheetColumn::Tx, rows, step).changed);
    }
}
BENCHMARK(BM_FillSeriesThousandThroughTheSheet)->Unit(benchmark::kMillisecond);

void BM_FillSeriesThreeColumnsThroughTheSheet(benchmark::State& state) {
    Job job;
    job.form->ShowAsTable(true);
    auto& model = dynamic_cast<km::ChannelSheetModel&>(*job.form->Sheet()->Proxy().sourceModel());
    const std::vector<km::pmr::ColumnRows> columns = {
        {SheetColumn::Name, AllRows()}, {SheetColumn::Rx, AllRows()}, {SheetColumn::Tx, AllRows()}};
    std::int64_t step = 12500;
    for (auto _ : state) {
        step = step == 12500 ? 6250 : 12500;
        benchmark::DoNotOptimize(model.FillSeries(columns, step).changed);
    }
}
BENCHMARK(BM_FillSeriesThreeColumnsThroughTheSheet)->Unit(benchmark::kMillisecond);

void BM_AddNextChannelThroughTheSheet(benchmark::State& state) {
    Job job(999);
    job.form->ShowAsTable(true);
    auto& model = dynamic_cast<km::ChannelSheetModel&>(*job.form->Sheet()->Proxy().sourceModel());
    const km::pmr::ChannelEntry first = job.form->Table().At(0);
    for (auto _ : state) {
        // After channel 997 comes 999, the one number free.
        if (!model.AddNext(997, first, 12500).changed) {
            state.SkipWithError("the channel was not added");
            break;
        }
        state.PauseTiming();
        job.history.undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddNextChannelThroughTheSheet)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
