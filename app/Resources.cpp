#include "Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace km {

QString ShippedFile(const QString& relativePath) {
    for (const QString& base : {QDir::currentPath(), QCoreApplication::applicationDirPath()}) {
        const QFileInfo info(QDir(base).filePath(relativePath));
        if (info.exists()) {
            return info.absoluteFilePath();
        }
    }
    return {};
}

QPixmap ShippedPicture(const QString& name) {
    const QString path = ShippedFile(QStringLiteral("pictures/") + name);
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

}  // namespace km
