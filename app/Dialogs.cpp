#include "Dialogs.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QSize>

#include "image/JobFiles.h"

namespace km {

namespace {
// Wide enough for the Size and Date Modified columns beside a job's name.
constexpr QSize kFileDialogSize(900, 540);
}  // namespace

QString Dialogs::LastFileName(FileDialogId dialog) const {
    return last_[static_cast<int>(dialog)];
}

void Dialogs::ForgetFileName(FileDialogId dialog) {
    last_[static_cast<int>(dialog)].clear();
}

void Dialogs::Remember(FileDialogId dialog, const QString& path) {
    last_[static_cast<int>(dialog)] = path;
}

QStringList QtFilters(std::string_view pipeSeparated) {
    const QStringList parts =
        QString::fromUtf8(pipeSeparated.data(), static_cast<qsizetype>(pipeSeparated.size()))
            .split('|');
    QStringList names;
    QList<QStringList> patterns;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& name = parts[i];
        const QString& pattern = parts[i + 1];
        if (!name.isEmpty()) {
            names.push_back(name);
            patterns.push_back({pattern});
            continue;
        }
        for (QStringList& known : patterns) {
            if (known.front().compare(pattern, Qt::CaseInsensitive) == 0 &&
                !known.contains(pattern)) {
                known.push_back(pattern);
            }
        }
    }
    QStringList filters;
    for (qsizetype i = 0; i < names.size(); ++i) {
        // The name already shows the lower-case pattern; Qt reads the patterns from the last
        // parentheses, so the full list goes there.
        QString name = names[i];
        const qsizetype open = name.lastIndexOf('(');
        if (open >= 0) {
            name = name.left(open).trimmed();
        }
        filters.push_back(QStringLiteral("%1 (%2)").arg(name, patterns[i].join(' ')));
    }
    return filters;
}

QStringList JobFileFilters() {
    QStringList filters;
    for (const QString& filter : QtFilters(kOpenDialogFilter)) {
        for (const char* pattern : {"*.tnk", "*.pmr", "*.nwk"}) {
            if (filter.contains(QLatin1String(pattern))) {
                filters.push_back(filter);
            }
        }
    }
    return filters;
}

void PrepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setWindowTitle(request.title);
    dialog.setNameFilters(request.filters);
    if (request.filterIndex >= 1 && request.filterIndex <= request.filters.size()) {
        dialog.selectNameFilter(request.filters[request.filterIndex - 1]);
    }
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setDirectory(QDir(request.folder).absolutePath());
    if (!request.proposedName.isEmpty()) {
        dialog.selectFile(request.proposedName);
    }
    // Name, Size, Type and Date Modified side by side.
    dialog.setViewMode(QFileDialog::Detail);
    dialog.resize(dialog.sizeHint().expandedTo(kFileDialogSize));
}

std::optional<QString> QtDialogs::OpenFile(const FileDialogRequest& request) {
    QFileDialog dialog(parent_);
    PrepareFileDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    Remember(request.dialog, dialog.selectedFiles().front());
    return dialog.selectedFiles().front();
}

std::optional<QString> QtDialogs::SaveFile(const FileDialogRequest& request) {
    QFileDialog dialog(parent_);
    PrepareFileDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    Remember(request.dialog, dialog.selectedFiles().front());
    return dialog.selectedFiles().front();
}

int QtDialogs::Exec(QDialog& dialog) {
    return dialog.exec();
}

}  // namespace km
