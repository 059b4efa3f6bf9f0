#pragma once

namespace tallowmere::bench {

// Times AppModel::refreshFromStore() over a store holding one scan of 50,000 file results
// and a backup job of 20,000 manifest items, and measures the longest time the main thread
// goes without serving its event loop while a 50,000-entry iCloud Drive scan runs and
// publishes its progress. Needs a QCoreApplication. Prints one line per figure; throws
// when a step fails.
void runAppModelBench();

}  // namespace tallowmere::bench
