#include "workspace/facelet_editor.hpp"

#include "cube/notation.hpp"
#include "cube/random.hpp"
#include "workspace/settings.hpp"

namespace tx {

namespace {

constexpr std::array<int, 4> kCornerPlaces = {0, 2, 6, 8};
constexpr std::array<int, 4> kEdgePlaces = {1, 3, 5, 7};
constexpr int kCenterPlace = 4;

bool isCenter(int facelet) { return facelet % 9 == kCenterPlace; }

// Twice the signed area test of point p against edge a->b; positive inside a polygon that
// runs clockwise on the screen (y pointing down).
long long cross(PicturePoint a, PicturePoint b, long long px, long long py) {
    return static_cast<long long>(b.x - a.x) * (py - a.y) - static_cast<long long>(b.y - a.y) * (px - a.x);
}

// Point (px, py), in doubled coordinates, inside the doubled quad. A point on an edge
// belongs to the polygon only for its top and left edges, so a point on the border of two
// neighbouring facelets (which run along that border in opposite directions) has one owner.
bool quadContains(const FaceletQuad& q, long long px, long long py) {
    for (int i = 0; i < 4; ++i) {
        PicturePoint a = q[static_cast<std::size_t>(i)];
        PicturePoint b = q[static_cast<std::size_t>((i + 1) % 4)];
        a = {2 * a.x, 2 * a.y};
        b = {2 * b.x, 2 * b.y};
        long long c = cross(a, b, px, py);
        if (c < 0) return false;
        if (c == 0) {
            int dx = b.x - a.x, dy = b.y - a.y;
            bool topOrLeft = dy < 0 || (dy == 0 && dx > 0);
            if (!topOrLeft) return false;
        }
    }
    return true;
}

// Every corner (or edge) position recognised as a distinct cubie, none of its facelets
// undefined or a reference mark.
bool piecesIdentified(const FaceletCube& cube, const CubieCube& cubies, bool corners) {
    int count = corners ? 8 : 12;
    std::array<bool, 12> seen{};
    for (int i = 0; i < count; ++i) {
        int facelets = corners ? 3 : 2;
        for (int j = 0; j < facelets; ++j) {
            int p = corners ? kCornerFacelet[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]
                            : kEdgeFacelet[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
            int v = cube.f[static_cast<std::size_t>(p)];
            if (v == kUndefinedFacelet || v == kReferenceMark) return false;
        }
        int c = corners ? cubies.corners[static_cast<std::size_t>(i)].c : cubies.edges[static_cast<std::size_t>(i)].c;
        if (c >= count || seen[static_cast<std::size_t>(c)]) return false;
        seen[static_cast<std::size_t>(c)] = true;
    }
    return true;
}

}  // namespace

// Where the centre of each face ends up when the maneuver field text is applied. The text
// goes to three probe cubes whose centre orientations spell each centre's number in binary
// and to a plain one; turns only add to and permute centre orientations, so the difference
// on a face names the centre that arrived there.
ColorRenaming centreMovement(std::string_view fieldText) {
    FaceletCube plain;
    applyManeuverField(plain, fieldText);
    ColorRenaming moved{};
    std::array<int, 6> arrived{};
    for (int bit = 0; bit < 3; ++bit) {
        FaceletCube probe;
        for (int c = 0; c < 6; ++c) probe.centerOri[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>((c >> bit) & 1);
        applyManeuverField(probe, fieldText);
        for (int face = 0; face < 6; ++face) {
            const auto f = static_cast<std::size_t>(face);
            if ((probe.centerOri[f] - plain.centerOri[f] + 4) % 4 != 0) arrived[f] |= 1 << bit;
        }
    }
    for (int face = 0; face < 6; ++face) moved[static_cast<std::size_t>(arrived[static_cast<std::size_t>(face)])] = static_cast<std::uint8_t>(face);
    return moved;
}

// ---------------------------------------------------------------------------------------

ColorScheme ColorScheme::defaults() {
    return {{16711680, 65535, 255, 32768, 16777215, 33023, 8421504}};
}

FaceletPaint faceletPaint(int facelet, int value, int displayMode, const ColorScheme& scheme) {
    const auto& palette = displayMode == 4 ? kFixedDisplayColors : scheme.colors;
    const std::uint32_t free = palette[kUndefinedFacelet];
    int place = facelet % 9;
    if (displayMode == 1 && place % 2 == 1) return {FaceletFill::Solid, free};
    if (displayMode == 2 && place % 2 == 0 && place != kCenterPlace) return {FaceletFill::Solid, free};
    if (value >= 0 && value <= kUndefinedFacelet)
        return {FaceletFill::Solid, palette[static_cast<std::size_t>(value)]};
    if (value >= kMarkOffset && value < kReferenceMark)
        return {FaceletFill::Cross, palette[static_cast<std::size_t>(value - kMarkOffset)]};
    if (value == kReferenceMark) return {FaceletFill::BackDiagonal, palette[0]};
    return {FaceletFill::Solid, free};
}

// ---------------------------------------------------------------------------------------

FaceletQuad PictureGeometry::polygon(int facelet) const {
    const int c = size;
    const int p = facelet % 9, d = p % 3, e = p / 3;
    const int x0 = originX - scrollX, y0 = originY - scrollY;
    int x = 0, y = 0;
    switch (facelet / 9) {
        case U:
            x = x0 + c * (3 * d - 2 * e + 15);
            y = y0 + 2 * c * e;
            return {{{x, y}, {x + 3 * c, y}, {x + c, y + 2 * c}, {x - 2 * c, y + 2 * c}}};
        case R:
            x = x0 + c * (2 * d + 18);
            y = y0 + c * (3 * e - 2 * d + 6);
            return {{{x, y}, {x + 2 * c, y - 2 * c}, {x + 2 * c, y + c}, {x, y + 3 * c}}};
        case F: x = x0 + c * (3 * d + 9), y = y0 + c * (3 * e + 6); break;
        case D: x = x0 + c * (3 * d + 9), y = y0 + c * (3 * e + 15); break;
        case L: x = x0 + 3 * c * d, y = y0 + c * (3 * e + 6); break;
        default: x = x0 + c * (3 * d + 24), y = y0 + 3 * c * e; break;  // B
    }
    return {{{x, y}, {x + 3 * c, y}, {x + 3 * c, y + 3 * c}, {x, y + 3 * c}}};
}

bool PictureGeometry::contains(int facelet, int x, int y) const {
    // The pixel's centre, in doubled coordinates so that it stays an integer.
    return quadContains(polygon(facelet), 2LL * x + 1, 2LL * y + 1);
}

int PictureGeometry::hitTest(int x, int y) const {
    for (int n = 0; n < kFacelets; ++n)
        if (contains(n, x, y)) return n;
    return -1;
}

CenterMark PictureGeometry::centerMark(int face, int orientation) const {
    const FaceletQuad q = polygon(9 * face + kCenterPlace);
    // Position inside the facelet in its own coordinates (0..1 along the top edge, 0..1
    // down the left edge): top, right, bottom, left part.
    static constexpr double kU[4] = {0.5, 0.78, 0.5, 0.22};
    static constexpr double kV[4] = {0.22, 0.5, 0.78, 0.5};
    const int o = orientation & 3;
    const double ux = q[1].x - q[0].x, uy = q[1].y - q[0].y;
    const double vx = q[3].x - q[0].x, vy = q[3].y - q[0].y;
    CenterMark m;
    m.cx = q[0].x + kU[o] * ux + kV[o] * vx;
    m.cy = q[0].y + kU[o] * uy + kV[o] * vy;
    // U is drawn two units high and R two units wide: the mark shrinks with them.
    m.rx = (face == R ? 0.35 : 0.5) * size;
    m.ry = (face == U ? 0.35 : 0.5) * size;
    return m;
}

// ---------------------------------------------------------------------------------------

bool centerRotationsPossible(const FaceletCube& cube) {
    const CubieCube cubies = cube.toCubieCube();
    int sum = 0;
    for (auto o : cube.centerOri) sum += o;
    const bool sumEven = sum % 2 == 0;
    if (piecesIdentified(cube, cubies, true)) return sumEven == cubies.cornerParityEven();
    if (piecesIdentified(cube, cubies, false)) return sumEven == cubies.edgeParityEven();
    return true;
}

// ---------------------------------------------------------------------------------------

FaceletEditor::FaceletEditor(Settings* settings) : settings_(settings), scheme_(ColorScheme::defaults()) {
    if (!settings_) return;
    for (int i = 0; i < 7; ++i) scheme_.colors[static_cast<std::size_t>(i)] = settings_->color(i);
    autoFix_ = settings_->load().autoFix;
}

void FaceletEditor::setCurrentColor(int color) {
    if (color >= 0 && color < 6) current_ = color;
}

void FaceletEditor::setAutoFix(bool on) {
    autoFix_ = on;
    if (settings_) settings_->writeAutoFix(on);
}

void FaceletEditor::setOrigin(int x, int y) {
    picture_.originX = x;
    picture_.originY = y;
}

void FaceletEditor::setScroll(int x, int y) {
    picture_.scrollX = x;
    picture_.scrollY = y;
}

FaceletEditor::ClickResult FaceletEditor::click(int facelet, Click kind, Prompts* prompts) {
    ClickResult r;
    if (facelet < 0 || facelet >= kFacelets) return r;
    r.facelet = facelet;
    auto& value = cube_.f[static_cast<std::size_t>(facelet)];
    if (isCenter(facelet)) {
        if (kind == Click::Right) {
            r.centerDialogRequested = cube_.centersCount;
        } else if (value < 6 && value != current_) {
            current_ = value;
            r.currentColorChanged = true;
        }
        return r;
    }
    switch (kind) {
        case Click::Left: value = static_cast<std::uint8_t>(current_); break;
        case Click::ShiftLeft: value = static_cast<std::uint8_t>(current_ + kMarkOffset); break;
        case Click::CtrlLeft: value = kReferenceMark; break;
        case Click::Right: value = kUndefinedFacelet; break;
    }
    if (kind != Click::Right && autoFix_) {
        int corrections = 0;
        cube_.checkFacelet(facelet, false, &corrections);
        if (prompts)
            for (std::string_view text : correctionMessages(corrections))
                prompts->message(std::string(text), kFaceletEditorCaption, Icon::Warning);
    }
    r.cubeChanged = true;
    return r;
}

FaceletEditor::ClickResult FaceletEditor::clickAt(int x, int y, Click kind, Prompts* prompts) {
    return click(geometry().hitTest(x, y), kind, prompts);
}

void FaceletEditor::turn(int code) {
    if (code < 0 || code >= kFaceletTurns) return;
    cube_.turn(code);
    if (code >= kTurnX) permuteScheme(scheme_.colors, FaceletCube::renaming(code));
}

void FaceletEditor::turnButton(int code, bool inverse) {
    for (int i = 0; i < (inverse ? 3 : 1); ++i) turn(code);
}

void FaceletEditor::setPlaces(const std::array<int, 4>& places, bool undefined) {
    for (int face = 0; face < 6; ++face)
        for (int place : places)
            cube_.f[static_cast<std::size_t>(9 * face + place)] =
                undefined ? kUndefinedFacelet : static_cast<std::uint8_t>(face);
    cube_.centerOri.fill(0);
}

void FaceletEditor::emptyAll() {
    cube_.clear();
    closeCenterDialog();
}

void FaceletEditor::clearAll() {
    cube_.reset();
    closeCenterDialog();
}

void FaceletEditor::emptyCorners() { setPlaces(kCornerPlaces, true); }
void FaceletEditor::emptyEdges() { setPlaces(kEdgePlaces, true); }
void FaceletEditor::clearCorners() { setPlaces(kCornerPlaces, false); }
void FaceletEditor::clearEdges() { setPlaces(kEdgePlaces, false); }

void FaceletEditor::randomize(MersenneTwister& rng) {
    randomCube(cube_, rng);
    closeCenterDialog();
}

void FaceletEditor::customizeCurrentColor(std::uint32_t color) {
    color &= 0xFFFFFF;
    scheme_.colors[static_cast<std::size_t>(current_)] = color;
    if (settings_) settings_->writeColor(current_, color);
}

int FaceletEditor::applyManeuverField(std::string_view text) {
    const int moves = tx::applyManeuverField(cube_, text);
    // Rotations and middle layers in the text move the centres: the scheme follows them.
    permuteScheme(scheme_.colors, centreMovement(text));
    return moves;
}

void FaceletEditor::setCentersCount(bool on) {
    cube_.centersCount = on;
    if (!on) closeCenterDialog();
}

bool FaceletEditor::setCenterRotation(int face, int rotation) {
    if (face >= 0 && face < 6) cube_.centerOri[static_cast<std::size_t>(face)] = static_cast<std::uint8_t>(rotation & 3);
    return centerOkEnabled();
}

}  // namespace tx
