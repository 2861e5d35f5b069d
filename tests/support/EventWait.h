#pragma once
// Waiting in a Qt test for something the event loop brings about (a radio command ending).

#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <functional>

namespace km::testing {

// Runs the event loop until `done` holds or `ms` have passed; whether `done` holds then.
inline bool WaitFor(const std::function<bool()>& done, int ms) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done()) {
            loop.quit();
        }
    });
    check.start(10);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

}  // namespace km::testing
