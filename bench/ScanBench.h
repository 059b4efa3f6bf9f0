#pragma once

namespace tallowmere::bench {

// Scans a generated tree of 49,000 files in 1,000 folders (50,000 entries, the scan's
// limit) through ICloudDriveScanner on this machine's file system, next to find printing
// each entry's size, modification time and type, both on the same warm tree, best of three.
// Prints the comparison and the peak resident memory of one scan. Throws when a step fails
// or the scan does not record every file.
void runScanBench();

}  // namespace tallowmere::bench
