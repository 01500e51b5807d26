// The open dialog in a folder of 100,000 subfolders: creating and showing it, and refreshing its
// lists. The folder is made once in the build's cache folder and kept for later runs.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "dialogs/form2.h"
#include "windowing/dir_list_box.h"
#include "windowing/file_list_box.h"
#include "windowing/form_slot.h"
#include "workspace/application_folder.h"

namespace {

constexpr int kSubfolders = 100000;

// The folder of subfolders, made under a temporary name and renamed only when complete, so that
// an interrupted run never leaves a short folder to be trusted by the next.
QString manySubfolders() {
    const QString done = QStringLiteral(KESTRANE_BENCH_CACHE "/subfolders-%1").arg(kSubfolders);
    if (QFileInfo(done).isDir()) {
        return done;
    }
    const QString partial = done + ".partial";
    QDir(partial).removeRecursively();
    if (!QDir().mkpath(partial)) {
        return {};
    }
    for (int i = 0; i < kSubfolders; ++i) {
        const QByteArray name = QFile::encodeName(partial) + "/folder" + QByteArray::number(i);
        if (::mkdir(name.constData(), 0755) != 0) {
            return {};
        }
    }
    return QDir().rename(partial, done) ? done : QString();
}

// Paints the dialog, which lays out every entry of its lists.
void paint(kestrane::Form2& dialog) {
    dialog.showModeless();
    benchmark::DoNotOptimize(dialog.grab());
}

void BM_ShowDialog(benchmark::State& state, const QString& folder) {
    for (auto _ : state) {
        QDir::setCurrent(folder);
        paint(kestrane::form<kestrane::Form2>());
        state.PauseTiming();
        kestrane::FormSlot<kestrane::Form2>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

void BM_RefreshLists(benchmark::State& state, const QString& folder) {
    QDir::setCurrent(folder);
    kestrane::Form2& dialog = kestrane::form<kestrane::Form2>();
    paint(dialog);
    for (auto _ : state) {
        dialog.Dir1->refresh();
        dialog.File1->refresh();
        paint(dialog);
    }
    kestrane::FormSlot<kestrane::Form2>::unload();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QString folder = manySubfolders();
    if (folder.isEmpty()) {
        std::fputs("cannot make the folder of subfolders\n", stderr);
        return 1;
    }
    // The dialog records its folder in the settings file; that goes to a folder of its own.
    const QTemporaryDir applicationFolder;
    kestrane::setApplicationFolder(applicationFolder.path());
    benchmark::RegisterBenchmark("BM_ShowDialog/100000_subfolders", BM_ShowDialog, folder)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_RefreshLists/100000_subfolders", BM_RefreshLists, folder)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
