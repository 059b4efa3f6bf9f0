#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include "tests/support/TemporaryDirectory.h"

namespace tallowmere::testing {

// Starts the real `tallowmere` program, as `make run` does, in a home, data, configuration,
// runtime and temporary folder of its own, so that it never sees the user's store or a
// running Tallowmere of the user's. It draws off screen unless a test says otherwise.
class ApplicationProcessFixture : public ::testing::Test {
protected:
    ApplicationProcessFixture();

    QString path(const char* name) const;
    void launch(QProcess& process, const QStringList& arguments = {});
    // Its store and its single-instance socket exist once start-up is through.
    bool isUp() const;
    // Sends SIGTERM, as when the session ends, and expects a clean exit.
    void expectQuitsCleanly(QProcess& process);

    const TemporaryDirectory folder;
    QProcessEnvironment environment;
};

}  // namespace tallowmere::testing
