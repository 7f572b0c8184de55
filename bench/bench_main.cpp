#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// The view options live in $XDG_CONFIG_HOME. A benchmark gets a config folder no other benchmark has used:
// an option one of them turns on (Exact Path draws the whole orbit after every replay and zoom) must not
// change what the next one measures, nor may options the user left on.
class ConfigFolder {
public:
    ConfigFolder() { renew(); }
    void renew() {
        folder_ = std::make_unique<QTemporaryDir>();
        setenv("XDG_CONFIG_HOME", folder_->path().toLocal8Bit().constData(), 1);
    }

private:
    std::unique_ptr<QTemporaryDir> folder_;
};

// Shows the results as the reporter the command line chose, and hands the next benchmark a fresh config
// folder once one has reported: the library's one call between two benchmarks.
class ConfigRenewingReporter : public benchmark::BenchmarkReporter {
public:
    explicit ConfigRenewingReporter(ConfigFolder& config)
        : shown_(benchmark::CreateDefaultDisplayReporter()), config_(config) {}
    bool ReportContext(const Context& context) override { return shown_->ReportContext(context); }
    void ReportRuns(const std::vector<Run>& runs) override {
        shown_->ReportRuns(runs);
        config_.renew();
    }
    void Finalize() override { shown_->Finalize(); }

private:
    std::unique_ptr<benchmark::BenchmarkReporter> shown_;
    ConfigFolder& config_;
};

}  // namespace

// Benchmarks that drive windows need an application; without a display they run offscreen.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ConfigFolder config;
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    ConfigRenewingReporter reporter(config);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
