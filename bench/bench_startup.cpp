// Start-up as the program runs it, in this process on the offscreen platform: the command line
// read, the main window made, wired and painted, without a picture and with one given on the
// command line loaded and painted on its canvas. Process start and Qt's own initialisation are
// not included; the window is discarded between runs, untimed.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/subsystems.h"
#include "dialogs/command_line.h"
#include "dialogs/open_command.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/form1.h"

namespace {

void BM_Start(benchmark::State& state, const QStringList& arguments) {
    kestrane::setEndProgramAction([] {});
    for (auto _ : state) {
        const kestrane::CommandLine command = kestrane::parseCommandLine(arguments);
        kestrane::form1& main = kestrane::form<kestrane::form1>();
        kestrane::installSubsystems(main);
        if (!command.picture.isEmpty() && !kestrane::openPictureFile(main, command.picture)) {
            state.SkipWithError("the picture was refused");
            break;
        }
        main.repaint();
        benchmark::DoNotOptimize(main.Picture1->bitmap().constBits());
        state.PauseTiming();
        kestrane::FormSlot<kestrane::form1>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("kestrane");
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("BM_Start/empty_window", BM_Start, QStringList{"kestrane"})
        ->Unit(benchmark::kMillisecond);
    for (const char* picture : {"hill.gif", "terrain_1024x768.jpg"}) {
        const QString path = QStringLiteral(KESTRANE_SAMPLES "/") + picture;
        benchmark::RegisterBenchmark((std::string("BM_Start/") + picture).c_str(), BM_Start,
                                     QStringList{"kestrane", path})
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
