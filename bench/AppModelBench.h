#pragma once

namespace tallowmere::bench {

// Times AppModel::refreshFromStore() over a store holding one scan of 50,000 file results
// and a backup job of 20,000 manifest items. Needs a QCoreApplication. Prints one line per
// figure; throws when a step fails.
void runRefreshBench();

}  // namespace tallowmere::bench
