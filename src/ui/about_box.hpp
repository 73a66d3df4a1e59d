#pragma once
// The About box: product name, version, author line and a mail link that opens the mail
// program through the desktop.
#include <QDialog>
#include <QUrl>

#include <functional>

namespace tx::ui {

inline constexpr const char* kAboutProduct = "Tesserix";
inline constexpr const char* kAboutVersion = "5.00s";
inline constexpr const char* kAuthorLine = "Written by the Tesserix maintainers";
inline constexpr const char* kMailAddress = "tesserix@example.org";

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    // Opens a link; the default hands it to the desktop. Tests replace it.
    std::function<void(const QUrl&)> openUrl;
};

}  // namespace tx::ui
