#pragma once

#include "core/verification/VerificationRun.h"

namespace tallowmere {

// The checks of the second copy the application model runs: each call runs to its end on
// the calling thread (a worker, never the main thread), stores its run and returns it.
// Store errors and failures of the application's own folders are thrown; a check that
// cannot start is a stored `failed` run, not an error.
class VerificationCoordinating {
public:
    virtual ~VerificationCoordinating() = default;

    // The latest stored run of any mode, or an unsaved `notRun` placeholder.
    virtual VerificationRun latestVerification() const = 0;
    virtual VerificationRun runQuickVerification() = 0;
    virtual VerificationRun runFullVerification() = 0;
    virtual VerificationRun runRestoreTest() = 0;
};

}  // namespace tallowmere
