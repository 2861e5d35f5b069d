#pragma once
// One running program per user: a lock file in the runtime folder. A program that crashed leaves
// a lock whose process is gone, which the next start takes over.

#include <QLockFile>
#include <QString>
#include <memory>

namespace km {

class SingleInstance {
  public:
    // `lockPath` empty: the default lock file of the program.
    explicit SingleInstance(const QString& lockPath = {});
    // True when this process holds the lock (or no lock file can be made at all, in which case
    // the program runs rather than refuse to start).
    bool Acquire();

    static QString DefaultLockPath();

  private:
    QLockFile lock_;
};

}  // namespace km
