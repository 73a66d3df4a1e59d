#include "ui/capture_dialogs.hpp"

#include <QCamera>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

#include "webcam/camera/frame_source.hpp"

namespace tx::ui {

CapFormatDialog::CapFormatDialog(FrameSource& source, QWidget* parent) : QDialog(parent), source_(source) {
    setObjectName("CapFormatDialog");
    setWindowTitle(tr("Video Format"));
    list_ = new QListWidget(this);
    list_->setObjectName("FormatList");
    for (const auto& f : source.formats()) list_->addItem(QString::fromStdString(f));
    list_->setCurrentRow(source.format() >= 0 ? source.format() : 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

void CapFormatDialog::accept() {
    const int row = list_->currentRow();
    if (row >= 0 && row != source_.format()) {
        const bool wasRunning = source_.running();
        if (wasRunning) source_.stop();
        source_.setFormat(row);
        if (wasRunning) source_.start();
    }
    QDialog::accept();
}

CapConfigDialog::CapConfigDialog(QCamera& camera, QWidget* parent) : QDialog(parent), camera_(camera) {
    setObjectName("CapConfigDialog");
    setWindowTitle(tr("Video Properties"));
    auto* form = new QFormLayout;
    addExposure(form);
    addWhiteBalance(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

// Every control applies its value at once, so the preview shows the effect.
void CapConfigDialog::addExposure(QFormLayout* form) {
    auto* mode = new QComboBox(this);
    mode->setObjectName("ExposureMode");
    const std::pair<QCamera::ExposureMode, QString> modes[] = {
        {QCamera::ExposureAuto, tr("Automatic")}, {QCamera::ExposureManual, tr("Manual")},
        {QCamera::ExposureNight, tr("Night")},    {QCamera::ExposureCandlelight, tr("Candlelight")}};
    for (const auto& [m, name] : modes)
        if (camera_.isExposureModeSupported(m)) mode->addItem(name, int(m));
    mode->setCurrentIndex(mode->findData(int(camera_.exposureMode())));
    connect(mode, &QComboBox::activated, this,
            [this, mode] { camera_.setExposureMode(QCamera::ExposureMode(mode->currentData().toInt())); });
    form->addRow(tr("Exposure:"), mode);

    auto* compensation = new QDoubleSpinBox(this);
    compensation->setObjectName("ExposureCompensation");
    compensation->setRange(-4, 4);
    compensation->setSingleStep(0.5);
    compensation->setSuffix(tr(" EV"));
    compensation->setValue(camera_.exposureCompensation());
    compensation->setEnabled(camera_.supportedFeatures() & QCamera::Feature::ExposureCompensation);
    connect(compensation, &QDoubleSpinBox::valueChanged, this,
            [this](double ev) { camera_.setExposureCompensation(float(ev)); });
    form->addRow(tr("Exposure compensation:"), compensation);

    auto* iso = new QSpinBox(this);
    iso->setObjectName("IsoSensitivity");
    iso->setRange(0, 25600);
    iso->setSpecialValueText(tr("automatic"));
    iso->setValue(camera_.manualIsoSensitivity() > 0 ? camera_.manualIsoSensitivity() : 0);
    iso->setEnabled(camera_.supportedFeatures() & QCamera::Feature::IsoSensitivity);
    connect(iso, &QSpinBox::valueChanged, this, [this](int value) {
        if (value > 0)
            camera_.setManualIsoSensitivity(value);
        else
            camera_.setAutoIsoSensitivity();
    });
    form->addRow(tr("Gain (ISO):"), iso);
}

void CapConfigDialog::addWhiteBalance(QFormLayout* form) {
    auto* mode = new QComboBox(this);
    mode->setObjectName("WhiteBalanceMode");
    const std::pair<QCamera::WhiteBalanceMode, QString> modes[] = {
        {QCamera::WhiteBalanceAuto, tr("Automatic")},      {QCamera::WhiteBalanceManual, tr("Manual")},
        {QCamera::WhiteBalanceSunlight, tr("Sunlight")},   {QCamera::WhiteBalanceCloudy, tr("Cloudy")},
        {QCamera::WhiteBalanceTungsten, tr("Tungsten")},   {QCamera::WhiteBalanceFluorescent, tr("Fluorescent")}};
    for (const auto& [m, name] : modes)
        if (camera_.isWhiteBalanceModeSupported(m)) mode->addItem(name, int(m));
    mode->setCurrentIndex(mode->findData(int(camera_.whiteBalanceMode())));
    form->addRow(tr("White balance:"), mode);

    auto* temperature = new QSpinBox(this);
    temperature->setObjectName("ColorTemperature");
    temperature->setRange(1500, 15000);
    temperature->setSingleStep(100);
    temperature->setSuffix(" K");
    temperature->setValue(camera_.colorTemperature() > 0 ? camera_.colorTemperature() : 5500);
    const bool manualSupported = camera_.supportedFeatures() & QCamera::Feature::ColorTemperature;
    temperature->setEnabled(manualSupported && camera_.whiteBalanceMode() == QCamera::WhiteBalanceManual);
    connect(mode, &QComboBox::activated, this, [this, mode, temperature, manualSupported] {
        const auto m = QCamera::WhiteBalanceMode(mode->currentData().toInt());
        camera_.setWhiteBalanceMode(m);
        temperature->setEnabled(manualSupported && m == QCamera::WhiteBalanceManual);
    });
    connect(temperature, &QSpinBox::valueChanged, this, [this](int k) { camera_.setColorTemperature(k); });
    form->addRow(tr("Color temperature:"), temperature);
}

}  // namespace tx::ui
