#include <cstdio>
#include <exception>

#include "bench/ScanBench.h"
#include "bench/ScanStoreBench.h"

// Every benchmark makes its own data in a temporary folder and removes it afterwards.
int main() {
    try {
        // First, so that its peak memory is not raised by what earlier benchmarks left.
        tallowmere::bench::runScanBench();
        tallowmere::bench::runScanStoreBench();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
