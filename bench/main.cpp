#include <cstdio>
#include <exception>

#include "bench/CopyBench.h"
#include "bench/ScanStoreBench.h"

// Every benchmark makes its own data in a temporary folder and removes it afterwards.
int main() {
    try {
        tallowmere::bench::runScanStoreBench();
        tallowmere::bench::runCopyBench();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
