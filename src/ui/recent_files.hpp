#pragma once
// The recently used workspace files (newest first) and the folder of the last file dialog,
// kept in cube.ini's section "Desktop" so the next session offers them again. A file that
// has gone is dropped from the list when the menu opens.
#include <QObject>
#include <QStringList>

class QMenu;

namespace tx {
class Settings;
}

namespace tx::ui {

inline constexpr const char* kDesktopSection = "Desktop";

class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxFiles = 6;

    RecentFiles(Settings& settings, QObject* parent = nullptr);

    const QStringList& files() const { return files_; }
    // The file moves to the top; its folder becomes the last folder.
    void add(const QString& file);
    QString lastFolder() const { return lastFolder_; }
    // The folder a file dialog starts in: the last folder used, else the user's documents.
    QString startFolder() const;

    // The "Recent Files" submenu; rebuilt each time it opens.
    QMenu* menu() const { return menu_; }
    void attachMenu(QMenu* menu);

signals:
    void openRequested(const QString& file);

private:
    void store();
    void rebuildMenu();

    Settings& settings_;
    QStringList files_;
    QString lastFolder_;
    QMenu* menu_ = nullptr;
};

}  // namespace tx::ui
