// The webcam page's controls and layout; webcam_page_actions.cpp holds what they do.
#include "ui/webcam_page.hpp"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/capture_form.hpp"
#include "ui/facelet_editor_widget.hpp"
#include "ui/keyboard/key_output.hpp"
#include "ui/keyboard/scan_solve.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx::ui {

// The webcam cube in the preview box, in the classes' own colours (red, orange, blue, green,
// yellow, white; grey for a facelet not scanned).
class WebcamCubeWidget : public QWidget {
public:
    WebcamCubeWidget(Webcam& webcam, QWidget* parent) : QWidget(parent), webcam_(webcam) {
        setObjectName("WebcamCube");
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override { return {geometry().width() + 1, geometry().height() + 1}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        ColorScheme classColors;
        classColors.colors = kFixedDisplayColors;
        paintFaceletCube(painter, webcam_.cube(), geometry(), classColors);
    }

private:
    static PictureGeometry geometry() {
        PictureGeometry g;
        g.size = 7;
        return g;
    }
    Webcam& webcam_;
};

namespace {

QPushButton* makeButton(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QRadioButton* makeRadio(const char* name, const QString& caption, QWidget* parent, QButtonGroup* group) {
    auto* b = new QRadioButton(caption, parent);
    b->setObjectName(name);
    group->addButton(b);
    return b;
}

struct ThresholdField {
    const char* name;
    const char* label;
};
constexpr ThresholdField kThresholdFields[4] = {
    {"ETreshOrange", "Yellow from hue"},
    {"ETreshYellow", "Green from hue"},
    {"ETreshGreen", "Blue from hue"},
    {"ETreshBlue", "Blue below hue"},
};

}  // namespace

WebcamPage::WebcamPage(FaceletEditor& editor, Events& events, Prompts& prompts, Hooks hooks, QWidget* parent)
    : QWidget(parent),
      editor_(editor),
      events_(events),
      prompts_(prompts),
      hooks_(std::move(hooks)),
      framePending_(std::make_shared<std::atomic<bool>>(false)) {
    setObjectName("TabSheetWebcam");
    captureForm_ = new TCaptureForm(nullptr);
    connect(captureForm_, &TCaptureForm::sampleRequested, this,
            [this](int cls, QPoint at) { webcam_.requestSample(cls, at.x(), at.y()); });
    connect(captureForm_, &TCaptureForm::spacingStep, this, &WebcamPage::spacingStep);
    connect(captureForm_, &TCaptureForm::closed, this, [this] {
        closeDevice();
        refresh();
    });
    // Sample counts come from the capture thread; the labels change on the window thread.
    QPointer<WebcamPage> self(this);
    webcam_.samplesRecorded = [self, &events](int count, int color) {
        events.post([self, count, color] {
            if (self) self->samplesRecorded(count, color);
        });
    };

    auto* deviceBox = new QGroupBox(tr("Capture device"), this);
    buildDeviceBox(deviceBox);
    auto* left = new QVBoxLayout;
    left->addWidget(deviceBox);
    left->addWidget(buildModeBox());
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buildFaceBox(), 1);

    blinkTimer_ = new QTimer(this);
    blinkTimer_->setInterval(100);
    connect(blinkTimer_, &QTimer::timeout, this, &WebcamPage::blink);
    sequenceTimer_ = new QTimer(this);
    sequenceTimer_->setObjectName("ScanSolveTimer");
    readSettings();
    refresh();
}

void WebcamPage::buildDeviceBox(QWidget* box) {
    capDevs_ = new QComboBox(box);
    capDevs_->setObjectName("CapDevs");
    capDevs_->setPlaceholderText(tr("Choose a capture device"));
    connect(capDevs_, &QComboBox::activated, this, [this](int index) { selectDevice(index); });
    capFormat_ = makeButton("CapFormat", tr("Format..."), box);
    capConfig_ = makeButton("CapConfig", tr("Properties..."), box);
    connect(capFormat_, &QPushButton::clicked, this, &WebcamPage::openFormatDialog);
    connect(capConfig_, &QPushButton::clicked, this, &WebcamPage::openConfigDialog);
    auto* layout = new QGridLayout(box);
    layout->addWidget(capDevs_, 0, 0, 1, 2);
    layout->addWidget(capFormat_, 1, 0);
    layout->addWidget(capConfig_, 1, 1);
}

QWidget* WebcamPage::buildModeBox() {
    auto* box = new QGroupBox(tr("Recognition"), this);
    auto* modes = new QButtonGroup(box);
    interactive_ = makeRadio("RBInteractive", tr("Interactive"), box, modes);
    automatic_ = makeRadio("RBAutomatic", tr("Automatic"), box, modes);
    interactive_->setChecked(true);
    auto* grid = new QGridLayout(box);
    grid->addWidget(interactive_, 0, 0);
    grid->addWidget(automatic_, 0, 1);
    const HueThresholds defaults;
    const int values[4] = {defaults.orange, defaults.yellow, defaults.green, defaults.blue};
    for (int k = 0; k < 4; ++k) {
        thresholds_[k] = new QLineEdit(QString::number(values[k]), box);
        thresholds_[k]->setObjectName(kThresholdFields[k].name);
        thresholds_[k]->setMaximumWidth(60);
        connect(thresholds_[k], &QLineEdit::textChanged, this, &WebcamPage::readSettings);
        grid->addWidget(new QLabel(tr(kThresholdFields[k].label), box), 1 + k, 0);
        grid->addWidget(thresholds_[k], 1 + k, 1);
    }
    auto* shownGroup = new QButtonGroup(box);
    shown_[0] = makeRadio("RbHue", tr("Hue"), box, shownGroup);
    shown_[1] = makeRadio("RbSaturation", tr("Saturation"), box, shownGroup);
    shown_[2] = makeRadio("RbValue", tr("Value"), box, shownGroup);
    shown_[0]->setChecked(true);
    grid->addWidget(new QLabel(tr("Automatic mode shows:"), box), 5, 0, 1, 2);
    auto* shownRow = new QHBoxLayout;
    for (auto* b : shown_) shownRow->addWidget(b);
    grid->addLayout(shownRow, 6, 0, 1, 2);
    auto* sepGroup = new QButtonGroup(box);
    hueSep_ = makeRadio("HueSep", tr("by hue"), box, sepGroup);
    valSep_ = makeRadio("ValSep", tr("by value"), box, sepGroup);
    hueSep_->setChecked(true);
    grid->addWidget(new QLabel(tr("Red and orange:"), box), 7, 0, 1, 2);
    grid->addWidget(hueSep_, 8, 0);
    grid->addWidget(valSep_, 8, 1);
    for (auto* group : {modes, shownGroup, sepGroup})
        connect(group, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
            if (on) readSettings();
        });

    redLabel_ = new QLabel(box);
    redLabel_->setObjectName("LRed");
    orangeLabel_ = new QLabel(box);
    orangeLabel_->setObjectName("LOrange");
    auto* clear = makeButton("Button1", tr("Clear Samples"), box);
    connect(clear, &QPushButton::clicked, this, &WebcamPage::clearSamples);
    grid->addWidget(redLabel_, 9, 0);
    grid->addWidget(orangeLabel_, 9, 1);
    grid->addWidget(clear, 10, 0, 1, 2);
    auto* hint = new QLabel(tr("Right-click squares in the preview window for samples."), box);
    hint->setWordWrap(true);
    grid->addWidget(hint, 11, 0, 1, 2);
    return box;
}

QWidget* WebcamPage::buildFaceBox() {
    auto* box = new QGroupBox(tr("Faces"), this);
    auto* marks = new QHBoxLayout;
    for (int k = 0; k < 6; ++k) {
        const char face = Webcam::kScanOrder[static_cast<std::size_t>(k)];
        faceMarks_[k] = new QLabel(QString(QChar(face)), box);
        faceMarks_[k]->setObjectName(QString("Face") + face);
        faceMarks_[k]->setAlignment(Qt::AlignCenter);
        faceMarks_[k]->setMinimumSize(32, 24);
        faceMarks_[k]->setFrameShape(QFrame::Box);
        faceMarks_[k]->setAutoFillBackground(true);
        faceMarks_[k]->setToolTip(tr("Click to scan this face next"));
        faceMarks_[k]->installEventFilter(this);
        marks->addWidget(faceMarks_[k]);
    }
    marks->addStretch();
    scan_ = makeButton("BScan", tr("Scan (Alt+S)"), box);
    transfer_ = makeButton("BTransferCam", tr("Transfer (Alt+V)"), box);
    auto* clear = makeButton("Button2", tr("Clear"), box);
    scanSolveType_ = makeButton("BScanSolveType", tr("Scan, Solve and Type"), box);
    scanSolveType_->setVisible(false);
    connect(scan_, &QPushButton::clicked, this, &WebcamPage::scan);
    connect(transfer_, &QPushButton::clicked, this, [this] { transfer(true); });
    connect(clear, &QPushButton::clicked, this, &WebcamPage::clearCube);
    connect(scanSolveType_, &QPushButton::clicked, this, &WebcamPage::startScanSolve);
    auto* buttons = new QHBoxLayout;
    for (auto* b : {scan_, transfer_, clear, scanSolveType_}) buttons->addWidget(b);
    buttons->addStretch();
    cubePicture_ = new WebcamCubeWidget(webcam_, box);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(marks);
    layout->addLayout(buttons);
    layout->addWidget(cubePicture_);
    layout->addStretch();
    return box;
}

// Text fields without a number count as 0.
void WebcamPage::readSettings() {
    WebcamSettings s = webcam_.settings();
    int* values[4] = {&s.thresholds.orange, &s.thresholds.yellow, &s.thresholds.green, &s.thresholds.blue};
    for (int k = 0; k < 4; ++k) *values[k] = thresholds_[k]->text().trimmed().toInt();
    s.mode = automatic_->isChecked() ? ScanMode::Automatic : ScanMode::Interactive;
    s.shown = shown_[1]->isChecked() ? ShownMeasure::Saturation
              : shown_[2]->isChecked() ? ShownMeasure::Value
                                       : ShownMeasure::Hue;
    s.split = valSep_->isChecked() ? RedOrangeSplit::Value : RedOrangeSplit::Hue;
    webcam_.setSettings(s);
    if (transfer_) refresh();
}

void WebcamPage::spacingStep(bool horizontal, int delta) {
    WebcamSettings s = webcam_.settings();
    if (horizontal ? s.spacing.stepX(delta) : s.spacing.stepY(delta)) webcam_.setSettings(s);
}

void WebcamPage::refresh() {
    transfer_->setEnabled(webcam_.transferEnabled());
    capFormat_->setEnabled(source_ != nullptr);
    capConfig_->setEnabled(source_ != nullptr);
    redLabel_->setText(tr("Red: ") + (webcam_.sampleCount(kRed) ? QString::number(webcam_.sampleCount(kRed)) : ""));
    orangeLabel_->setText(tr("Orange: ") +
                          (webcam_.sampleCount(kOrange) ? QString::number(webcam_.sampleCount(kOrange)) : ""));
    updateFaceMarks(true);
    cubePicture_->update();
}

// Scanned faces are ticked; the next face is highlighted (and blinks after a scan).
void WebcamPage::updateFaceMarks(bool highlightNext) {
    const char next = webcam_.face();
    for (int k = 0; k < 6; ++k) {
        const char face = Webcam::kScanOrder[static_cast<std::size_t>(k)];
        QLabel* mark = faceMarks_[k];
        mark->setText(webcam_.scanned(face) ? QString(QChar(face)) + QChar(0x2713) : QString(QChar(face)));
        const bool lit = highlightNext && face == next;
        QPalette colors = palette();
        if (lit) {
            colors.setColor(QPalette::Window, palette().color(QPalette::Highlight));
            colors.setColor(QPalette::WindowText, palette().color(QPalette::HighlightedText));
        }
        mark->setPalette(colors);
    }
}

void WebcamPage::blink() {
    --blinkTicks_;
    updateFaceMarks(blinkTicks_ % 2 == 0);
    if (blinkTicks_ <= 0) {
        blinkTimer_->stop();
        updateFaceMarks(true);
    }
}

bool WebcamPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int k = 0; k < 6; ++k) {
            if (watched != faceMarks_[k]) continue;
            webcam_.setFace(Webcam::kScanOrder[static_cast<std::size_t>(k)]);
            refresh();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void WebcamPage::samplesRecorded(int count, int color) {
    (color == 0 ? redLabel_ : orangeLabel_)->setText((color == 0 ? tr("Red: ") : tr("Orange: ")) + QString::number(count));
}

}  // namespace tx::ui
