#pragma once
// The manual shipped with the program (an HTML page among the program's resources), shown in
// a text browser window; F1 opens it, and the web server setup links to its web server
// section. Links to the outside open in the user's browser.
#include <QDialog>
#include <QString>

class QTextBrowser;

namespace tx::ui {

inline constexpr const char* kManualUrl = "qrc:/help/manual.html";
inline constexpr const char* kWebServerSection = "web-server";

class HelpBrowser : public QDialog {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    // Shows the manual at a section (an anchor of the page; empty: the top), reusing the
    // window that parent already has.
    static HelpBrowser* open(QWidget* parent, const QString& section = {});

    void showSection(const QString& section);
    QString section() const;  // the anchor shown last
    QTextBrowser* text() const { return text_; }

private:
    QTextBrowser* text_ = nullptr;
};

// Adds a link to the manual's section below a dialog's controls, and F1 for it.
void addHelpLink(QDialog* dialog, const QString& section, const QString& caption);

}  // namespace tx::ui
