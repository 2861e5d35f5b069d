#include "SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace km {

QString SingleInstance::DefaultLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return QDir(folder).filePath(QStringLiteral("km700rcp.lock"));
}

SingleInstance::SingleInstance(const QString& lockPath)
    : lock_(lockPath.isEmpty() ? DefaultLockPath() : lockPath) {
    // A lock is stale only when its process is gone, however old it is.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::Acquire() {
    if (lock_.tryLock(0)) {
        return true;
    }
    return lock_.error() != QLockFile::LockFailedError;
}

}  // namespace km
