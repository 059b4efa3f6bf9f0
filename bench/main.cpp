#include <cstdio>
#include <cstring>
#include <exception>

#include <QCoreApplication>

#include "bench/AppModelBench.h"
#include "bench/CopyBench.h"
#include "bench/PhotosBench.h"
#include "bench/ScanBench.h"
#include "bench/ScanStoreBench.h"
#include "bench/VerifyBench.h"

namespace {

struct Benchmark {
    const char* name;
    void (*run)();
};

// The iCloud scan runs first, so that its peak memory is not raised by what earlier
// benchmarks left behind.
constexpr Benchmark kBenchmarks[] = {
    {"icloud-scan", tallowmere::bench::runScanBench},
    {"scan-store", tallowmere::bench::runScanStoreBench},
    {"photos", tallowmere::bench::runPhotosBench},
    {"verify", tallowmere::bench::runVerifyBench},
    {"copy", tallowmere::bench::runCopyBench},
    {"app-model", tallowmere::bench::runAppModelBench},
};

}  // namespace

// Every benchmark makes its own data in a temporary folder and removes it afterwards.
// With a name as argument only that benchmark runs.
int main(int argc, char** argv) {
    try {
        // The Photos benchmark measures each of its scans in a fresh process of this program.
        if (argc == 3 && std::strcmp(argv[1], "--photos-scan-child") == 0)
            return tallowmere::bench::runPhotosScanChild(argv[2]);
        // The application model's benchmarks need an event loop.
        QCoreApplication application(argc, argv);
        const char* only = argc == 2 ? argv[1] : nullptr;
        bool ran = false;
        for (const auto& benchmark : kBenchmarks) {
            if (only && std::strcmp(only, benchmark.name) != 0)
                continue;
            benchmark.run();
            ran = true;
        }
        if (!ran) {
            std::fprintf(stderr, "unknown benchmark: %s\n", only);
            return 2;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
