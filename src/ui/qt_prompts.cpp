#include "ui/qt_prompts.hpp"

#include <QInputDialog>
#include <QMessageBox>
#include <QThread>

namespace tx::ui {

namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
        case Icon::Information: return QMessageBox::Information;
        case Icon::Warning: return QMessageBox::Warning;
        case Icon::Error: return QMessageBox::Critical;
        case Icon::Question: return QMessageBox::Question;
        case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(Buttons buttons) {
    switch (buttons) {
        case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::Ok: break;
    }
    return QMessageBox::Ok;
}

// The answer given when the box is closed with Escape or the window's close button.
QMessageBox::StandardButton escapeButton(Buttons buttons) {
    switch (buttons) {
        case Buttons::YesNo: return QMessageBox::No;
        case Buttons::YesNoCancel:
        case Buttons::OkCancel: return QMessageBox::Cancel;
        case Buttons::Ok: break;
    }
    return QMessageBox::Ok;
}

Answer answerOf(int button) {
    switch (button) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default: return Answer::Ok;
    }
}

}  // namespace

QtPrompts::QtPrompts(QWidget* parentWindow) : window_(parentWindow) {}

Answer QtPrompts::ask(const Prompt& prompt) {
    if (QThread::currentThread() == thread()) return askHere(prompt);
    Answer answer = Answer::Cancel;
    QMetaObject::invokeMethod(this, [&] { answer = askHere(prompt); }, Qt::BlockingQueuedConnection);
    return answer;
}

std::optional<std::string> QtPrompts::input(const std::string& caption, const std::string& label,
                                            const std::string& defaultText) {
    if (QThread::currentThread() == thread()) return inputHere(caption, label, defaultText);
    std::optional<std::string> result;
    QMetaObject::invokeMethod(this, [&] { result = inputHere(caption, label, defaultText); },
                              Qt::BlockingQueuedConnection);
    return result;
}

Answer QtPrompts::askHere(const Prompt& prompt) {
    QMessageBox box(qtIcon(prompt.icon), QString::fromStdString(prompt.caption),
                    QString::fromStdString(prompt.text), qtButtons(prompt.buttons), window_);
    box.setObjectName("MessageBox");
    box.setEscapeButton(escapeButton(prompt.buttons));
    return answerOf(box.exec());
}

std::optional<std::string> QtPrompts::inputHere(const std::string& caption, const std::string& label,
                                                const std::string& defaultText) {
    bool ok = false;
    QString text = QInputDialog::getText(window_, QString::fromStdString(caption),
                                         QString::fromStdString(label), QLineEdit::Normal,
                                         QString::fromStdString(defaultText), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

}  // namespace tx::ui
