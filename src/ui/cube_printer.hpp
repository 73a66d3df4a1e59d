#pragma once
// Printing the cube list, six cubes to a page. With r the vertical resolution in dots per
// inch, b = round(r / 2.54) (one centimetre) and the unit d = (page height - 2b) div 174,
// slot s of a page starts at y = b + 30 d s; it holds the number ("1."), the pattern name at
// (2b + 25d, y + 11d), the generator at (2b + 21d, y + 16d), all in black with a font 3d
// high, and the cube picture with facelet size d at (2b, y). The device may be a printer or
// a PDF writer.
#include <functional>
#include <memory>
#include <vector>

#include <QString>

class QPagedPaintDevice;

namespace tx {
class CubeList;
struct ColorScheme;
struct Entry;
}  // namespace tx

namespace tx::ui {

struct PrintGeometry {
    static constexpr int kCubesPerPage = 6;

    int b = 0;  // one centimetre in device pixels
    int d = 0;  // the unit: facelet size and a 174th of the page height without 2b

    static PrintGeometry of(int dotsPerInchY, int pageHeight);
    int margin() const { return 2 * b; }
    int slotTop(int slot) const { return b + 30 * d * slot; }
};

// The entries printed: all, or only the selected ones, in list order.
std::vector<std::shared_ptr<Entry>> entriesToPrint(const CubeList& list, bool selectedOnly);

// The text printed under the name: the optimal generator when the entry uses the optimal
// search, else the generator.
QString printedGenerator(const Entry& e);

// Prints the entries on the device; pump (if given) runs before each cube. False when the
// device could not be painted on (no printer, a file that cannot be written).
bool printCubes(QPagedPaintDevice& device, const std::vector<std::shared_ptr<Entry>>& entries,
                const ColorScheme& scheme, const std::function<void()>& pump = {});

}  // namespace tx::ui
