#include "ui/recent_files.hpp"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>

#include <algorithm>

#include "workspace/settings.hpp"

namespace tx::ui {

namespace {

std::string recentKey(int i) { return "Recent" + std::to_string(i + 1); }
constexpr const char* kLastFolderKey = "LastFolder";

// The INI file holds one value per line: a name with a line break cannot be kept there.
bool storable(const QString& s) { return !s.contains('\n') && !s.contains('\r'); }

}  // namespace

RecentFiles::RecentFiles(Settings& settings, QObject* parent) : QObject(parent), settings_(settings) {
    for (int i = 0; i < kMaxFiles; ++i) {
        const auto value = settings_.readString(kDesktopSection, recentKey(i));
        if (value && !value->empty()) files_ << QString::fromStdString(*value);
    }
    if (const auto folder = settings_.readString(kDesktopSection, kLastFolderKey))
        lastFolder_ = QString::fromStdString(*folder);
}

void RecentFiles::add(const QString& file) {
    if (file.isEmpty() || !storable(file)) return;
    const QString path = QFileInfo(file).absoluteFilePath();
    files_.removeAll(path);
    files_.prepend(path);
    while (files_.size() > kMaxFiles) files_.removeLast();
    lastFolder_ = QFileInfo(path).absolutePath();
    store();
    rebuildMenu();
}

QString RecentFiles::startFolder() const {
    if (!lastFolder_.isEmpty() && QDir(lastFolder_).exists()) return lastFolder_;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() || !QDir(documents).exists() ? QDir::homePath() : documents;
}

void RecentFiles::store() {
    for (int i = 0; i < kMaxFiles; ++i)
        settings_.writeString(kDesktopSection, recentKey(i), i < files_.size() ? files_[i].toStdString() : "");
    settings_.writeString(kDesktopSection, kLastFolderKey, lastFolder_.toStdString());
}

void RecentFiles::attachMenu(QMenu* menu) {
    menu_ = menu;
    connect(menu_, &QMenu::aboutToShow, this, &RecentFiles::rebuildMenu);
    rebuildMenu();
}

void RecentFiles::rebuildMenu() {
    if (!menu_) return;
    const qsizetype before = files_.size();
    files_.erase(std::remove_if(files_.begin(), files_.end(), [](const QString& f) { return !QFileInfo::exists(f); }),
                 files_.end());
    if (files_.size() != before) store();
    menu_->clear();
    for (int i = 0; i < files_.size(); ++i) {
        const QString file = files_[i];
        QAction* a = menu_->addAction(QString("&%1 %2").arg(i + 1).arg(QFileInfo(file).fileName()));
        a->setObjectName(QString("RecentFile%1").arg(i + 1));
        a->setToolTip(file);
        a->setStatusTip(file);
        connect(a, &QAction::triggered, this, [this, file] { emit openRequested(file); });
    }
    menu_->setEnabled(!files_.isEmpty());
    if (files_.isEmpty()) menu_->addAction(tr("(none)"))->setEnabled(false);
}

}  // namespace tx::ui
