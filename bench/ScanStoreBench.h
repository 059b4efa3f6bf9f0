#pragma once

namespace tallowmere::bench {

// Stores one scan of 50,000 file results through ICloudScanRepository and through the
// sqlite3 tool (the same rows in one transaction), and reads the 100 most pressing
// results back. Prints one line per figure. Throws when a step fails.
void runScanStoreBench();

}  // namespace tallowmere::bench
