#include "ui/serv_setup_form.hpp"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/prompts.hpp"
#include "server/web_server.hpp"
#include "workspace/settings.hpp"

namespace tx::ui {

TServSetupForm::TServSetupForm(Prompts& prompts, Settings& settings, WebServer& server, QWidget* parent)
    : QDialog(parent), prompts_(prompts), settings_(settings), server_(server) {
    setObjectName("ServSetupForm");
    setWindowTitle(kServSetupCaption);

    const SettingsValues values = settings_.load();
    server_.setPort(WebServer::kDefaultPort);
    server_.setPort(values.port);
    server_.setWriteToFile(values.writeToFile);  // on only when stored as exactly 1

    ePort_ = new QLineEdit(QString::number(server_.port()), this);
    ePort_->setObjectName("EPort");
    cbEnable_ = new QCheckBox(tr("Enable the Web Server"), this);
    cbEnable_->setObjectName("CBEnable");
    cbEnable_->setChecked(values.serverEnabled);
    cbWebSrvOut_ = new QCheckBox(tr("Write solutions to webserv_ans.txt"), this);
    cbWebSrvOut_->setObjectName("CBWebSrvOut");
    cbWebSrvOut_->setChecked(values.writeToFile);
    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName("OKButton");
    okButton_->setDefault(true);

    // clicked() comes from the user only, never from setChecked() above.
    connect(cbEnable_, &QCheckBox::clicked, this, &TServSetupForm::enableClicked);
    connect(cbWebSrvOut_, &QCheckBox::clicked, this, &TServSetupForm::outputClicked);
    connect(okButton_, &QPushButton::clicked, this, &TServSetupForm::ok);

    auto* form = new QFormLayout;
    form->addRow(tr("Port:"), ePort_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(cbEnable_);
    layout->addWidget(cbWebSrvOut_);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    if (cbEnable_->isChecked()) openListener();
}

void TServSetupForm::enableClicked(bool checked) {
    if (!checked || (busy && busy())) return;
    prompts_.message(kServEnableWarning, kServSetupCaption, Icon::Warning);
}

void TServSetupForm::outputClicked(bool checked) {
    server_.setWriteToFile(checked);
    settings_.writeWriteToFile(checked);
}

void TServSetupForm::ok() {
    server_.close();
    const auto typed = parseIniInt(ePort_->text().toStdString());
    const bool valid = typed && *typed >= kLowestPort && *typed <= kHighestPort;
    if (valid) {
        server_.setPort(*typed);
    } else {
        server_.setPort(WebServer::kDefaultPort);
        ePort_->setText(QString::number(WebServer::kDefaultPort));
        prompts_.message(kServPortRangeText, "", Icon::Warning);
    }
    if (cbEnable_->isChecked()) openListener();
    if (valid) hide();
    settings_.writePort(server_.port());
    settings_.writeServerEnabled(cbEnable_->isChecked());
}

void TServSetupForm::openListener() {
    if (!server_.open()) prompts_.message(server_.errorString().toStdString(), "", Icon::Warning);
}

}  // namespace tx::ui
