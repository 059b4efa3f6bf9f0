#pragma once

#include "app/AppModel.h"
#include "core/dashboard/NextBestAction.h"
#include "core/safety/SafetyVocabulary.h"

// The model's scan and action workflows as the screens call them. While a workflow is
// not part of the model yet, its control does nothing.
namespace tallowmere::ModelCommands {

template <typename Model = AppModel>
void runScan(Model& model) {
    if constexpr (requires { model.runScan(ScanTrigger::manual); })
        model.runScan(ScanTrigger::manual);
}

// Asks the running scan to stop; the model says "Cancelling scan...".
template <typename Model = AppModel>
void cancelScan(Model& model) {
    if constexpr (requires { model.cancelScan(); })
        model.cancelScan();
}

template <typename Model = AppModel>
void perform(Model& model, const NextBestAction& action) {
    if constexpr (requires { model.perform(action); })
        model.perform(action);
}

}  // namespace tallowmere::ModelCommands
