#include "webcam/camera/frame_painter.hpp"

#include <QFont>
#include <QPainter>

namespace tx {
namespace {

constexpr int kClassFrameWidth = 7;

QColor classColor(int cls) {
    if (cls < 0 || cls >= kColorClasses) return QColor(128, 128, 128);
    const std::uint32_t c = kClassDrawColor[static_cast<std::size_t>(cls)];  // 0x00BBGGRR
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Text with a dark outline, readable on any sticker.
void drawText(QPainter& painter, const QRect& box, int flags, const QString& text) {
    painter.setPen(Qt::black);
    for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
        painter.drawText(box.translated(d), flags, text);
    painter.setPen(Qt::white);
    painter.drawText(box, flags, text);
}

}  // namespace

void drawOverlay(QPainter& painter, const FrameOverlay& overlay, int frameHeight) {
    QFont font = painter.font();
    font.setPixelSize(std::max(9, frameHeight / 28));
    font.setBold(true);
    painter.setFont(font);
    painter.setBrush(Qt::NoBrush);
    for (const SquareOverlay& sq : overlay.squares) {
        const QRect square(sq.rect.x, sq.rect.y, sq.rect.size, sq.rect.size);
        if (sq.classFrame) {
            // The class frame lies around the measured square, which stays visible.
            const int half = kClassFrameWidth / 2;
            painter.setPen(QPen(classColor(sq.cls), kClassFrameWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter.drawRect(square.adjusted(-half - 1, -half - 1, half + 1, half + 1));
        }
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(square.adjusted(0, 0, -1, -1));
        drawText(painter, square, Qt::AlignCenter, QString::fromStdString(sq.label));
    }
    const int margin = font.pixelSize() / 2;
    const QRect frame = painter.viewport().adjusted(margin, margin, -margin, -margin);
    if (overlay.overexposed) drawText(painter, frame, Qt::AlignLeft | Qt::AlignTop, kOverexposedText);
    if (overlay.samplesWanted) drawText(painter, frame, Qt::AlignLeft | Qt::AlignBottom, kSamplesWantedText);
}

QImage processCameraFrame(Webcam& webcam, const QImage& frame) {
    // 0xffRRGGBB words: the bytes B, G, R, X on little-endian machines.
    QImage image = frame.convertToFormat(QImage::Format_RGB32);
    const FrameView view{image.constBits(), image.width(), image.height(), static_cast<int>(image.bytesPerLine()),
                         PixelLayout::Xrgb32};
    const FrameOverlay overlay = webcam.processFrame(view);
    QPainter painter(&image);
    drawOverlay(painter, overlay, image.height());
    return image;
}

}  // namespace tx
