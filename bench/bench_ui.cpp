// The program's speed as a user meets it: start-up to the first solution on
// screen, one step, holding Next; rendering and printing a full page of
// trays; whole reports to a document and to a PDF. Runs offscreen.

#include "app/Program.h"
#include "preview/PreviewDocument.h"
#include "report/Report.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"
#include "ui/main/frmMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

std::string programFolder()
{
    return QFile::encodeName(QFileInfo(QStringLiteral(TILEWRIGHT_DATABASE)).absolutePath())
        .toStdString();
}

void BM_StartUpToFirstSolution(benchmark::State &state)
{
    for (auto _ : state) {
        tw::Program program(programFolder());
        if (program.Main())
            state.SkipWithError("the database did not open");
        // Shown, laid out and the first solution painted.
        if (!QTest::qWaitForWindowExposed(program.mainWindow()))
            state.SkipWithError("not exposed");
        program.mainWindow()->repaint();
        benchmark::DoNotOptimize(program.mainWindow()->surface().image().constBits());
    }
}
BENCHMARK(BM_StartUpToFirstSolution)->Unit(benchmark::kMillisecond)->UseRealTime();

// One press and release of Next: move, decode, paint, on screen.
void BM_OneStep(benchmark::State &state)
{
    tw::Program program(programFolder());
    program.Main();
    tw::frmMain &w = *program.mainWindow();
    w.cboSelect->setCurrentIndex(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!w.cmdNext->isEnabled())
            w.cmdFirst_Click();
        w.cmdNext_MouseDown();
        w.cmdNext_MouseUp();
        QCoreApplication::processEvents();
    }
    state.SetLabel(std::string(tw::Trays[static_cast<std::size_t>(state.range(0))].label));
}
BENCHMARK(BM_OneStep)->Arg(0)->Arg(4)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Holding Next: solutions painted per second.
void BM_HeldNext(benchmark::State &state)
{
    tw::Program program(programFolder());
    program.Main();
    tw::frmMain &w = *program.mainWindow();
    w.cboSelect->setCurrentIndex(4);
    long long steps = 0;
    for (auto _ : state) {
        w.cmdFirst_Click();
        w.cmdNext_MouseDown();
        w.tmrDelay_Timer();
        const tw::Integer start = program.state().SolutionNo;
        while (program.state().SolutionNo < start + 1000)
            QCoreApplication::processEvents();
        w.cmdNext_MouseUp();
        QCoreApplication::processEvents();
        steps += program.state().SolutionNo - start;
    }
    state.counters["solutions/s"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HeldNext)->Unit(benchmark::kMillisecond)->UseRealTime();

// A report set up as the "Print" tab does, on paper of its own.
struct Report
{
    tw::Program program{programFolder()};
    tw::SharedState &s = program.state();

    Report(int board, bool colour)
    {
        program.Main(false);
        s.OutputMode = 1;
        tw::SetBoardLayout(s, static_cast<tw::Integer>(board));
        tw::BuildBoardShapes(s);
        tw::ResetUnitSize(s);
        s.RenderMode = colour ? 0 : 1;
    }
    void build(int to)
    {
        trays = 0;
        const auto progress = [this](tw::Integer, tw::Integer page, bool) { trays += page == 1; };
        if (tw::BuildReport(s, {1, static_cast<tw::Integer>(to), false}, progress))
            throw std::runtime_error("report failed");
    }
    int trays = 0; // on the first page
};

// A full first page of small trays (about 1,300 on A4) drawn at 100%.
void BM_RenderFullPage(benchmark::State &state)
{
    const int board = static_cast<int>(state.range(1));
    Report r(board, state.range(0) == 1);
    r.build(board == 4 ? 16146 : 2339);
    tw::PreviewDocument &doc = r.program.preview();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.renderImage(1, 96));
    state.counters["operations"] = static_cast<double>(doc.operationCount(1));
    state.counters["KiB"] = static_cast<double>(doc.memoryUsed(1)) / 1024;
    state.counters["trays"] = static_cast<double>(doc.operationCount(1) ? r.trays : 0);
    state.SetLabel(std::string(tw::Trays[static_cast<std::size_t>(board)].label) +
                   (state.range(0) == 1 ? ", colour" : ", monochrome"));
}
BENCHMARK(BM_RenderFullPage)
    ->ArgsProduct({{0, 1}, {0, 4}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_FullPageToPdf(benchmark::State &state)
{
    Report r(0, false);
    r.build(1000); // fits one page
    QTemporaryDir dir;
    for (auto _ : state) {
        QString error;
        if (!r.program.preview().writePdf(dir.filePath(QStringLiteral("p.pdf")), &error))
            state.SkipWithError("pdf failed");
    }
    state.SetLabel(std::to_string(r.program.preview().PageCount()) + " page");
}
BENCHMARK(BM_FullPageToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WholeReport(benchmark::State &state)
{
    const int board = static_cast<int>(state.range(0));
    Report r(board, false);
    for (auto _ : state)
        r.build(board == 4 ? 16146 : 2339);
    state.SetLabel(std::string(tw::Trays[static_cast<std::size_t>(board)].label) + ", " +
                   std::to_string(r.program.preview().PageCount()) + " pages");
}
BENCHMARK(BM_WholeReport)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WholeReportToPdf(benchmark::State &state)
{
    const int board = static_cast<int>(state.range(0));
    Report r(board, false);
    QTemporaryDir dir;
    for (auto _ : state) {
        r.build(board == 4 ? 16146 : 2339);
        QString error;
        if (!r.program.preview().writePdf(dir.filePath(QStringLiteral("r.pdf")), &error))
            state.SkipWithError("pdf failed");
    }
    state.SetLabel(std::string(tw::Trays[static_cast<std::size_t>(board)].label));
}
BENCHMARK(BM_WholeReportToPdf)
    ->Arg(0)
    ->Arg(4)
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
