#pragma once

namespace tallowmere::bench {

// Copies two generated sets (64 files of 16 MiB, and 20,000 small files in 200 folders)
// through LocalBackupCoordinator into an empty destination, and the same sets with `cp -r`
// (and `cp -r` followed by `sync -f`, since our copy is durable when it returns and cp's is
// not), each after the sources were read once so that all start from a warm page cache and
// a flushed disk. Prints one line per comparison. Throws when a copy is incomplete.
void runCopyBench();

}  // namespace tallowmere::bench
