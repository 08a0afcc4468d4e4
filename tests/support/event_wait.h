// Waiting for what the event loop brings, with a check that fails: the event loop turns until
// `done` holds or `timeoutMs` have passed, and the result fails the test in an ASSERT_TRUE or
// EXPECT_TRUE when it never held:
//     ASSERT_TRUE(testsupport::EventLoopUntil([&] { return calls == 1; })) << calls;
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

namespace testsupport {

inline ::testing::AssertionResult EventLoopUntil(const std::function<bool()>& done, int timeoutMs = 2000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return ::testing::AssertionFailure() << "still not so after " << timeoutMs << " ms of the event loop";
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(2);
    }
    return ::testing::AssertionSuccess();
}

}  // namespace testsupport
