// scan: recognises a cube from six photographs, one per face, with the webcam's square grid
// and its automatic classifier; prints the facelet string or the reason it failed.
#ifdef TESSERIX_HAS_QTGUI

#include <QImage>
#include <QString>

#include <cstdio>

#include "command.hpp"
#include "webcam/classify.hpp"
#include "webcam/frame.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "scan";
constexpr const char* kUsage =
    "usage: tesserix-cli scan [--split hue|value] U.img R.img F.img D.img L.img B.img\n"
    "Recognises a cube from six photographs (any format Qt reads: PNG, JPEG, PPM, ...), one\n"
    "per face in the order U R F D L B, each face seen as the facelet string shows it (U1 at\n"
    "the top left; U with its B edge on top, D with its F edge on top, the side faces with\n"
    "their U edge on top). The facelets are sampled in a 3 x 3 grid of squares in the middle\n"
    "of each picture, 5/16 of the picture's height apart, and classified all together.\n"
    "--split value separates red from orange by lightness instead of hue.\n"
    "Prints the facelet string (faces named by the colours of their centres), or the reason\n"
    "the colours could not be resolved with exit code 1. Exit code 2 for unreadable files.\n";

bool measureImage(const std::string& path, int face, CubeMeasures& measures) {
    QImage image(QString::fromStdString(path));
    if (image.isNull()) {
        std::fprintf(stderr, "tesserix-cli scan: cannot read the image %s\n", path.c_str());
        return false;
    }
    image = image.convertToFormat(QImage::Format_RGB888);
    const FrameView frame{image.constBits(), image.width(), image.height(),
                          static_cast<int>(image.bytesPerLine()), PixelLayout::Rgb24};
    const FaceMeasures squares = measureSquares(frame, GridSpacing{});
    for (int k = 0; k < kSquares; ++k) measures[static_cast<std::size_t>(9 * face + k)] = squares[static_cast<std::size_t>(k)];
    return true;
}

int run(const Args& given) {
    Args args = given;
    const std::string split = takeOption(args, "--split", "hue");
    if (hasUnknownOption(kName, args)) return kExitError;
    if (args.size() != 6 || (split != "hue" && split != "value")) {
        std::fputs(kUsage, stderr);
        return kExitError;
    }
    CubeMeasures measures{};
    for (int face = 0; face < 6; ++face)
        if (!measureImage(args[static_cast<std::size_t>(face)], face, measures)) return kExitError;

    const AutoClassification classes =
        classifyAutomatic(measures, HueThresholds{}, split == "value" ? RedOrangeSplit::Value : RedOrangeSplit::Hue);
    if (!classes.ok()) {
        std::printf("%s\n", classes.failure.c_str());
        return kExitInvalid;
    }
    const HandOver cube = handOver(classes.classes);
    if (!cube.complete()) {
        std::printf("%s\n", cube.resultText().c_str());
        return kExitInvalid;
    }
    std::printf("%s\n", cube.cube.faceletString().c_str());
    return kExitOk;
}

Register reg(kName, "recognise a cube from six photographs of its faces (U R F D L B)", kUsage, run);

}  // namespace
}  // namespace tx::cli

#endif
