#include "Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <array>
#include <filesystem>
#include <system_error>

#include "core/Files.h"

namespace km {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsFile = "km700rcp.conf";
constexpr const char* kWorkFolderKey = "WorkFolder";
constexpr const char* kChannelsAsTableKey = "ChannelsAsTable";
constexpr std::array<const char*, 2> kTemplates = {"default.tct", "default.cct"};
constexpr std::array<const char*, 3> kJobFolders = {"Jobs", "Networks", "Radio_SW"};

fs::path PathOf(const QString& folder) {
    return fs::path(folder.toStdString());
}

// KM_DATA_FROM_BIN, set by the build from its install layout, leads from the folder of the
// executables to the installed data.
QString InstalledDataFolder() {
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(KM_DATA_FROM_BIN);
}

// The Setup choices that live outside Setup.dat, whose 92 bytes have no room for a path.
QSettings Settings() {
    return QSettings(UserSettingsFile(), QSettings::IniFormat);
}

}  // namespace

QString ShippedFile(const QString& relativePath) {
    for (const QString& base :
         {QDir::currentPath(), QCoreApplication::applicationDirPath(), InstalledDataFolder()}) {
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

QString InstalledWorkFolderData() {
    return QDir(InstalledDataFolder()).filePath(QStringLiteral("data"));
}

bool HoldsProgramFiles(const QString& folder) {
    for (const char* name : kTemplates) {
        std::error_code error;
        if (fs::is_regular_file(FindFileIgnoringCase(PathOf(folder), name), error)) {
            return true;
        }
    }
    return false;
}

QString DefaultUserWorkFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString UserSettingsFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(folder).filePath(kSettingsFile);
}

QString StoredUserWorkFolder() {
    return Settings().value(kWorkFolderKey).toString();
}

bool StoreUserWorkFolder(const QString& folder) {
    QSettings settings = Settings();
    if (folder.isEmpty()) {
        settings.remove(kWorkFolderKey);
    } else {
        settings.setValue(kWorkFolderKey, folder);
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool ChannelsAsTable() {
    return Settings().value(kChannelsAsTableKey, false).toBool();
}

bool StoreChannelsAsTable(bool table) {
    QSettings settings = Settings();
    settings.setValue(kChannelsAsTableKey, table);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString UserWorkFolder() {
    const QString stored = StoredUserWorkFolder();
    return stored.isEmpty() ? DefaultUserWorkFolder() : stored;
}

bool SeedWorkFolder(const QString& folder, const QString& data) {
    const fs::path target = PathOf(folder);
    std::error_code error;
    for (const char* name : kJobFolders) {
        fs::create_directories(target / name, error);
        if (error) {
            return false;
        }
    }
    if (HoldsProgramFiles(folder) || !fs::is_directory(PathOf(data), error)) {
        return true;
    }
    fs::copy(PathOf(data), target, fs::copy_options::recursive | fs::copy_options::skip_existing,
             error);
    return !error;
}

WorkFolderChoice WorkFolderAtStart(const QString& startFolder) {
    if (HoldsProgramFiles(startFolder)) {
        return {startFolder, true};
    }
    const QString folder = UserWorkFolder();
    return {folder, SeedWorkFolder(folder, InstalledWorkFolderData())};
}

}  // namespace km
