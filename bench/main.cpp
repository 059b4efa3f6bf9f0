#include <cstdio>
#include <exception>

#include <QCoreApplication>

#include "bench/AppModelBench.h"
#include "bench/ScanStoreBench.h"

// Every benchmark makes its own data in a temporary folder and removes it afterwards.
int main(int argc, char** argv) {
    // The application model's benchmarks need an event loop.
    QCoreApplication application(argc, argv);
    try {
        tallowmere::bench::runScanStoreBench();
        tallowmere::bench::runRefreshBench();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
