// Speed of the paths that grow with the scene: opening a file as Ctrl+O does, and composing and
// writing it as Save does.
#include "SceneGenerator.h"
#include "base/StreamDialogs.h"

#include "Editor.h"
#include "base/SceneFile.h"
#include "vrml/SceneWriter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

using namespace modulino;

namespace {

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

// The generated scene file of `pieces` pieces, written once.
QString sceneFile(int pieces) {
    static std::map<int, QString> files;
    auto& path = files[pieces];
    if (path.isEmpty()) {
        path = folder().filePath(QStringLiteral("scene%1.wrl").arg(pieces));
        writeWholeFile(path, bench::generateScene(pieces));
    }
    return path;
}

struct BenchEditor {
    BenchEditor() { editor.FormCreate(folder().path()); }
    StreamDialogs dialogs; // a benchmark is asked nothing; anything shown goes to stderr
    Editor editor{dialogs};
};

// Opens into a freshly started editor each time; starting and closing it are not timed.
void BM_OpenScene(benchmark::State& state) {
    const int pieces = int(state.range(0));
    const QString path = sceneFile(pieces);
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto e = std::make_unique<BenchEditor>();
        state.ResumeTiming();
        e->editor.opening.openFile(path);
        rows = e->editor.state.SGDilky.rowCount();
        state.PauseTiming();
        e.reset();
        state.ResumeTiming();
    }
    if (rows != pieces + 1)
        state.SkipWithError("the scene did not open whole");
    state.SetComplexityN(pieces);
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}

void BM_ComposeAndWrite(benchmark::State& state) {
    const int pieces = int(state.range(0));
    BenchEditor e;
    e.editor.opening.openFile(sceneFile(pieces));
    const QString out = folder().filePath(QStringLiteral("written.wrl"));
    for (auto _ : state) {
        ComposeScene(e.editor.state);
        if (!writeWholeFile(out, e.editor.state.Final).isEmpty())
            state.SkipWithError("the scene was not written");
    }
    state.SetComplexityN(pieces);
    state.SetBytesProcessed(state.iterations() * e.editor.state.Final.size());
}

} // namespace

BENCHMARK(BM_OpenScene)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_ComposeAndWrite)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
