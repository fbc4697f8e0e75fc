// The program's speed as a user meets it: start-up to the first solution on
// screen, one step, holding Next; rendering and printing a full page of
// trays; whole reports to a document, to a PDF and to a printer. Runs
// offscreen.

#include "app/Practice.h"
#include "app/PrintTab.h"
#include "app/Program.h"
#include "app/SolutionBrowser.h"
#include "app/SolveSession.h"
#include "preview/PreviewDocument.h"
#include "solutions/Catalogue.h"
#include "solutions/SharedState.h"
#include "ui/PreviewControl.h"
#include "ui/frmMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QSizeF A4(11906, 16838);

std::string programFolder()
{
    return QFile::encodeName(QFileInfo(QStringLiteral(TILEWRIGHT_DATABASE)).absolutePath())
        .toStdString();
}

// The main window on a started program, shown offscreen.
struct Window
{
    tw::Program program{programFolder(), A4};
    std::unique_ptr<tw::frmMain> window;

    Window()
    {
        if (program.Main())
            throw std::runtime_error("the database did not open");
        window = std::make_unique<tw::frmMain>(program);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            throw std::runtime_error("not exposed");
    }
    QPushButton *button(const char *name) const
    {
        return window->findChild<QPushButton *>(QString::fromLatin1(name));
    }
};

void BM_StartUpToFirstSolution(benchmark::State &state)
{
    for (auto _ : state) {
        Window w;
        w.window->repaint();
    }
}
BENCHMARK(BM_StartUpToFirstSolution)->Unit(benchmark::kMillisecond)->UseRealTime();

// One click on Next: move, decode, paint, on screen.
void BM_OneStep(benchmark::State &state)
{
    Window w;
    w.window->findChild<QComboBox *>()->setCurrentIndex(static_cast<int>(state.range(0)));
    QPushButton *next = w.button("cmdNext");
    for (auto _ : state) {
        if (!next->isEnabled())
            QTest::mouseClick(w.button("cmdFirst"), Qt::LeftButton);
        QTest::mouseClick(next, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    state.SetLabel(
        tw::Catalogue::databaseTrays()[static_cast<std::size_t>(state.range(0))].label());
}
BENCHMARK(BM_OneStep)->Arg(0)->Arg(4)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The browser alone: decoding and painting a solution, per step.
void BM_BrowserStep(benchmark::State &state)
{
    tw::Program program(programFolder(), A4);
    program.Main();
    tw::SolutionBrowser browser(program.catalogue(), program.state());
    browser.changeBoard(4);
    for (auto _ : state)
        if (!browser.step(+1))
            browser.first();
}
BENCHMARK(BM_BrowserStep)->Unit(benchmark::kMicrosecond);

// "Solve it yourself" on the 8 x 8 tray: the live count after laying one
// more piece, with range(0) pieces of one tiling laid before it (the
// square first, as the index holds them).
void BM_CountAfterALaying(benchmark::State &state)
{
    tw::Program program(programFolder(), A4);
    if (program.Main())
        throw std::runtime_error("the database did not open");
    const auto index = program.catalogue().tilingIndex(*tw::Catalogue::databaseTrayNamed("8x8"));
    tw::SolveSession session(*index);
    const tw::Tiling tiling = index->tiling(4711);
    const auto lay = [&](const tw::Placement &p) {
        return session.lay(p.shape, p.cells[0] / tiling.stride(), p.cells[0] % tiling.stride());
    };
    const auto laid = static_cast<std::size_t>(state.range(0));
    for (std::size_t k = 0; k < laid; ++k)
        lay(tiling.placements[k]);
    for (auto _ : state) {
        if (!lay(tiling.placements[laid]))
            throw std::runtime_error("the piece was refused");
        state.PauseTiming();
        session.undo();
        state.ResumeTiming();
    }
    state.SetLabel(std::to_string(session.remaining().size()) + " tilings before it");
}
BENCHMARK(BM_CountAfterALaying)->DenseRange(0, 12, 3)->Unit(benchmark::kMicrosecond);

// A report set up as the "Print" tab does.
struct Report
{
    tw::Program program{programFolder(), A4};
    std::unique_ptr<tw::PrintTab> print;

    Report(int board, bool colour)
    {
        program.Main();
        print =
            std::make_unique<tw::PrintTab>(program.catalogue(), program.state(), program.preview());
        print->prepare(static_cast<tw::Integer>(board));
        print->setRender(colour ? 0 : 1);
    }
    void build(int to)
    {
        if (print->run(QStringLiteral("1"), QString::number(to), false))
            throw std::runtime_error("report failed");
    }
    tw::PreviewDocument &doc() { return program.preview(); }
};

// A full first page of small trays drawn at 100%.
void BM_RenderFullPage(benchmark::State &state)
{
    const int board = static_cast<int>(state.range(1));
    Report r(board, state.range(0) == 1);
    r.build(board == 4 ? 16146 : 2339);
    for (auto _ : state)
        benchmark::DoNotOptimize(r.doc().renderImage(1, 96));
    state.counters["operations"] = static_cast<double>(r.doc().operationCount(1));
    state.counters["KiB"] = static_cast<double>(r.doc().memoryUsed(1)) / 1024;
    state.SetLabel(tw::Catalogue::databaseTrays()[static_cast<std::size_t>(board)].label() +
                   (state.range(0) == 1 ? ", colour" : ", monochrome"));
}
BENCHMARK(BM_RenderFullPage)
    ->ArgsProduct({{0, 1}, {0, 4}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_WholeReport(benchmark::State &state)
{
    const int board = static_cast<int>(state.range(0));
    Report r(board, false);
    for (auto _ : state)
        r.build(board == 4 ? 16146 : 2339);
    state.SetLabel(tw::Catalogue::databaseTrays()[static_cast<std::size_t>(board)].label() + ", " +
                   std::to_string(r.doc().PageCount()) + " pages");
}
BENCHMARK(BM_WholeReport)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WholeReportToPdf(benchmark::State &state)
{
    const int board = static_cast<int>(state.range(0));
    Report r(board, state.range(1) == 1);
    QTemporaryDir dir;
    for (auto _ : state) {
        r.build(board == 4 ? 16146 : 2339);
        if (r.doc().writePdf(dir.filePath(QStringLiteral("r.pdf")).toStdString(), 1,
                             r.doc().PageCount(), QPageSize::ExactMatch, QStringLiteral("r")))
            state.SkipWithError("pdf failed");
    }
    state.counters["MB"] =
        static_cast<double>(QFileInfo(dir.filePath(QStringLiteral("r.pdf"))).size()) / 1e6;
    state.SetLabel(tw::Catalogue::databaseTrays()[static_cast<std::size_t>(board)].label() +
                   (state.range(1) == 1 ? ", colour" : ", monochrome"));
}
BENCHMARK(BM_WholeReportToPdf)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// The whole report on the default printer, by Qt's print engine (0) or as
// the program prints (1), until the print server holds the job. Skipped
// without a printer; tools/print-server starts a print server whose
// printer keeps the jobs (CUPS_SERVER=FOLDER/cups.sock).
void BM_WholeReportToPrinter(benchmark::State &state)
{
    const int board = static_cast<int>(state.range(0));
    Report r(board, false);
    if (QPrinterInfo::defaultPrinter().isNull()) {
        state.SkipWithError("no printer");
        return;
    }
    tw::PreviewControl control(&r.doc());
    for (auto _ : state) {
        r.build(board == 4 ? 16146 : 2339);
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        const int pages = r.doc().PageCount();
        if (state.range(1) == 0 ? !r.doc().paintPages(printer, 1, pages, QPageSize::FuzzyMatch)
                                : !control.printTo(printer, 1, static_cast<tw::Integer>(pages)))
            state.SkipWithError("printing failed");
    }
    state.SetLabel(tw::Catalogue::databaseTrays()[static_cast<std::size_t>(board)].label() +
                   (state.range(1) == 0 ? ", Qt's print engine" : ", the program's"));
}
BENCHMARK(BM_WholeReportToPrinter)
    ->ArgsProduct({{0, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
