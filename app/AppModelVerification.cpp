#include "app/AppModel.h"

namespace tallowmere {
namespace {

// What differs between the three checks of the second copy.
struct CheckTexts {
    const char* startingMessage;
    const char* successTitle;
    const char* failureMessage;
    const char* failureTitle;
    ActivityEventKind kind;
};

CheckTexts textsOf(VerificationMode mode) {
    switch (mode) {
        case VerificationMode::quick:
            return {"Starting quick verification...", "Quick verification finished",
                    "Tallowmere could not run verification.", "Quick verification failed",
                    ActivityEventKind::verification};
        case VerificationMode::full:
            return {"Starting full verification...", "Full verification finished",
                    "Tallowmere could not run full verification.", "Full verification failed",
                    ActivityEventKind::verification};
        case VerificationMode::restoreTest:
            break;
    }
    return {"Starting restore test...", "Restore test finished",
            "Tallowmere could not run the restore test.", "Restore test failed",
            ActivityEventKind::restoreTest};
}

VerificationProgressSnapshot checkProgress(VerificationMode mode, bool running,
                                           std::string message) {
    VerificationProgressSnapshot progress = VerificationProgressSnapshot::idle();
    progress.mode = mode;
    progress.isRunning = running;
    progress.message = std::move(message);
    return progress;
}

}  // namespace

QFuture<void> AppModel::runQuickVerification() {
    return runCheck(VerificationMode::quick);
}

QFuture<void> AppModel::runFullVerification() {
    return runCheck(VerificationMode::full);
}

QFuture<void> AppModel::runRestoreTest() {
    return runCheck(VerificationMode::restoreTest);
}

QFuture<void> AppModel::runCheck(VerificationMode mode) {
    // One flag covers all three checks.
    if (m_isVerificationRunning)
        return QtFuture::makeReadyFuture();
    const CheckTexts texts = textsOf(mode);
    publish(m_isVerificationRunning, true, &AppModel::isVerificationRunningChanged);
    publish(m_verificationProgress, checkProgress(mode, true, texts.startingMessage),
            &AppModel::verificationProgressChanged);

    auto work = [coordinator = m_verificationCoordinator, mode] {
        switch (mode) {
            case VerificationMode::quick:
                return coordinator->runQuickVerification();
            case VerificationMode::full:
                return coordinator->runFullVerification();
            case VerificationMode::restoreTest:
                break;
        }
        return coordinator->runRestoreTest();
    };
    return inBackground(std::move(work), [this, mode, texts](std::optional<VerificationRun> run) {
        if (run) {
            auto& published = mode == VerificationMode::restoreTest ? m_restoreTestSnapshot
                                                                    : m_verificationSnapshot;
            publish(published, std::move(*run),
                    mode == VerificationMode::restoreTest ? &AppModel::restoreTestSnapshotChanged
                                                          : &AppModel::verificationSnapshotChanged);
            refreshFromStore();
            setStatusMessage(published.message);
            recordEvent(texts.kind, texts.successTitle, m_statusMessage,
                        published.status == VerificationStatus::verified
                            ? SafetyState::protected_
                            : SafetyState::needsAttention,
                        AppSection::verification);
        } else {
            setStatusMessage(texts.failureMessage);
            publish(m_verificationProgress, checkProgress(mode, false, m_statusMessage),
                    &AppModel::verificationProgressChanged);
            recordEvent(texts.kind, texts.failureTitle, m_statusMessage,
                        SafetyState::needsAttention, AppSection::verification);
        }
        publish(m_isVerificationRunning, false, &AppModel::isVerificationRunningChanged);
    });
}

}  // namespace tallowmere
