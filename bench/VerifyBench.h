#pragma once

namespace tallowmere::bench {

// Full verification of a generated backup (64 files of 16 MiB and 2,000 small files)
// through LocalVerificationCoordinator, next to `openssl dgst -sha256` and `sha256sum` over
// the same files, all with the files in the page cache. Prints one line per comparison,
// for the coordinator's default number of threads and for one thread. Throws when a step
// fails or a verification does not pass.
void runVerifyBench();

}  // namespace tallowmere::bench
