#include <cstdio>
#include <cstring>
#include <exception>

#include <QCoreApplication>

#include "bench/AppModelBench.h"
#include "bench/PhotosBench.h"
#include "bench/ScanStoreBench.h"

// Every benchmark makes its own data in a temporary folder and removes it afterwards.
int main(int argc, char** argv) {
    try {
        // The Photos benchmark measures each of its scans in a fresh process of this program.
        if (argc == 3 && std::strcmp(argv[1], "--photos-scan-child") == 0)
            return tallowmere::bench::runPhotosScanChild(argv[2]);
        // A name runs only that benchmark.
        const char* only = argc == 2 ? argv[1] : nullptr;
        if (!only || std::strcmp(only, "scan-store") == 0)
            tallowmere::bench::runScanStoreBench();
        if (!only || std::strcmp(only, "photos") == 0)
            tallowmere::bench::runPhotosBench();
        if (!only || std::strcmp(only, "app-model") == 0) {
            // The application model's benchmarks need an event loop.
            QCoreApplication application(argc, argv);
            tallowmere::bench::runRefreshBench();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
