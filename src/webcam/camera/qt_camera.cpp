#include "webcam/camera/qt_camera.hpp"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>

namespace tx {

std::vector<CaptureDevice> cameraDevices() {
    std::vector<CaptureDevice> out;
    for (const QCameraDevice& device : QMediaDevices::videoInputs()) {
        out.push_back({device.description().toStdString(),
                       [device] { return std::unique_ptr<FrameSource>(new QtCameraSource(device)); }});
    }
    return out;
}

QtCameraSource::QtCameraSource(const QCameraDevice& device, QObject* parent)
    : QObject(parent),
      device_(device),
      camera_(std::make_unique<QCamera>(device)),
      sink_(std::make_unique<QVideoSink>()),
      session_(std::make_unique<QMediaCaptureSession>()) {
    session_->setCamera(camera_.get());
    session_->setVideoSink(sink_.get());
    // Direct: the frame is handled on the thread that delivers it, the capture thread.
    connect(
        sink_.get(), &QVideoSink::videoFrameChanged, this,
        [this](const QVideoFrame& frame) {
            if (onFrame && frame.isValid()) onFrame(frame.toImage());
        },
        Qt::DirectConnection);
    connect(camera_.get(), &QCamera::errorOccurred, this, [this](QCamera::Error, const QString& text) {
        if (onError) onError(std::string(kCannotInitializeText) + "\n" + text.toStdString());
    });
}

QtCameraSource::~QtCameraSource() {
    // No frame may reach a handler that is going away.
    disconnect(sink_.get(), nullptr, this, nullptr);
    camera_->stop();
}

bool QtCameraSource::start() {
    camera_->start();
    return camera_->error() == QCamera::NoError;
}

void QtCameraSource::stop() { camera_->stop(); }

bool QtCameraSource::running() const { return camera_->isActive(); }

std::vector<std::string> QtCameraSource::formats() const {
    std::vector<std::string> out;
    for (const QCameraFormat& f : device_.videoFormats()) {
        const QString text = QString("%1 x %2, %3 fps, %4")
                                 .arg(f.resolution().width())
                                 .arg(f.resolution().height())
                                 .arg(double(f.maxFrameRate()), 0, 'g', 3)
                                 .arg(QVideoFrameFormat::pixelFormatToString(f.pixelFormat()));
        out.push_back(text.toStdString());
    }
    return out;
}

void QtCameraSource::setFormat(int index) {
    const auto all = device_.videoFormats();
    if (index < 0 || index >= all.size()) return;
    format_ = index;
    camera_->setCameraFormat(all[index]);
}

}  // namespace tx
