#include "ui/cube_printer.hpp"

#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

#include "ui/facelet_editor_widget.hpp"
#include "workspace/cube_list.hpp"

namespace tx::ui {

PrintGeometry PrintGeometry::of(int dotsPerInchY, int pageHeight) {
    PrintGeometry g;
    g.b = static_cast<int>(std::lround(dotsPerInchY / 2.54));
    g.d = std::max(1, (pageHeight - 2 * g.b) / 174);
    return g;
}

std::vector<std::shared_ptr<Entry>> entriesToPrint(const CubeList& list, bool selectedOnly) {
    std::vector<std::shared_ptr<Entry>> chosen;
    for (const auto& e : list.entries())
        if (!selectedOnly || e->selected) chosen.push_back(e);
    return chosen;
}

QString printedGenerator(const Entry& e) {
    return QString::fromStdString(e.useOptimal ? optimalGeneratorText(e) : generatorText(e));
}

namespace {

// Text with its top left corner at (x, y), as the slots place it.
void textAt(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

void printSlot(QPainter& painter, const PrintGeometry& g, int number, int slot, const Entry& e,
               const ColorScheme& scheme) {
    const int x = g.margin(), y = g.slotTop(slot);
    painter.setPen(Qt::black);
    textAt(painter, x, y, QString::number(number) + ".");
    textAt(painter, x + 25 * g.d, y + 11 * g.d, QString::fromStdString(e.patternName));
    textAt(painter, x + 21 * g.d, y + 16 * g.d, printedGenerator(e));
    PictureGeometry picture;
    picture.size = g.d;
    picture.originX = x;
    picture.originY = y;
    paintFaceletCube(painter, e.cube, picture, scheme, e.cubieSubset);
}

}  // namespace

bool printCubes(QPagedPaintDevice& device, const std::vector<std::shared_ptr<Entry>>& entries,
                const ColorScheme& scheme, const std::function<void()>& pump) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const PrintGeometry g = PrintGeometry::of(device.logicalDpiY(), device.height());
    QFont font = painter.font();
    font.setPixelSize(3 * g.d);
    painter.setFont(font);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (k > 0 && k % PrintGeometry::kCubesPerPage == 0) device.newPage();
        if (pump) pump();
        printSlot(painter, g, static_cast<int>(k) + 1, static_cast<int>(k % PrintGeometry::kCubesPerPage), *entries[k],
                  scheme);
    }
    return painter.end();
}

}  // namespace tx::ui
