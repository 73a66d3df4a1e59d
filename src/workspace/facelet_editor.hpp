#pragma once
// The facelet editor without a window: the editor's cube, the display colour scheme, the
// current colour and the automatic fix, the effect of every mouse action and button (and the
// messages they give), the geometry of the cube picture (shared by the widget, the list rows
// and the tests) and the centre-orientation dialog's rule for its "Ok" button.
#include <array>
#include <cstdint>
#include <string_view>

#include "cube/facelet_cube.hpp"
#include "platform/prompts.hpp"

namespace tx {

class MersenneTwister;
class Settings;

inline constexpr const char* kFaceletEditorCaption = "Facelet Editor";

// ---------------------------------------------------------------------------------------
// Colours

// Seven display colours 0x00BBGGRR indexed by facelet value: U R F D L B, then free (6).
struct ColorScheme {
    std::array<std::uint32_t, 7> colors{};
    static ColorScheme defaults();
    std::uint32_t operator[](int index) const { return colors[static_cast<std::size_t>(index)]; }
};

// Colours of display mode 4, whatever the scheme says: red, orange, blue, green, yellow,
// white, grey.
inline constexpr std::array<std::uint32_t, 7> kFixedDisplayColors = {
    0x0000FF, 0x0080FF, 0xFF0000, 0x008000, 0x00FFFF, 0xFFFFFF, 0x808080};

enum class FaceletFill { Solid, Cross, BackDiagonal };  // hatches are drawn on black

struct FaceletPaint {
    FaceletFill fill = FaceletFill::Solid;
    std::uint32_t color = 0;  // 0x00BBGGRR
    bool operator==(const FaceletPaint&) const = default;
};

// How facelet `facelet` holding `value` is painted in the given display mode.
FaceletPaint faceletPaint(int facelet, int value, int displayMode, const ColorScheme& scheme);

// Where the centre of each face ends up when a maneuver field text is applied: rotations and
// middle-layer turns move the centres, and a colour scheme permuted with this renaming
// (permuteScheme) keeps showing the same physical colours.
ColorRenaming centreMovement(std::string_view fieldText);

// ---------------------------------------------------------------------------------------
// Picture geometry: U and R as parallelograms in perspective above and beside F, then D
// below F, L left of F and B at the far right, all in units of the facelet size c.

struct PicturePoint {
    int x = 0, y = 0;
    bool operator==(const PicturePoint&) const = default;
};
using FaceletQuad = std::array<PicturePoint, 4>;  // clockwise on screen, from the top-left point

struct CenterMark {  // a small ellipse inside a centre facelet
    double cx = 0, cy = 0, rx = 0, ry = 0;
};

struct PictureGeometry {
    int size = 10;              // facelet size c in pixels
    int originX = 0, originY = 0;
    int scrollX = 0, scrollY = 0;  // subtracted from every point

    FaceletQuad polygon(int facelet) const;
    // The facelet whose polygon contains the centre of pixel (x, y), or -1. Pixels on a
    // shared border belong to exactly one facelet.
    int hitTest(int x, int y) const;
    bool contains(int facelet, int x, int y) const;
    // Width and height of the whole picture, origin and scrolling not included.
    int width() const { return 33 * size; }
    int height() const { return 24 * size; }
    // The orientation mark of face `face`'s centre: in the top, right, bottom or left part
    // of the centre facelet for orientation 0, 1, 2, 3.
    CenterMark centerMark(int face, int orientation) const;
};

// ---------------------------------------------------------------------------------------
// Centre orientation: "Ok" of the centre dialog is enabled exactly when the centre
// rotations can belong to a real cube.

// With every corner identified: the sum of the six centre rotations is even exactly when
// the corner permutation is even; else with every edge identified the same with the edges;
// else any rotations are allowed.
bool centerRotationsPossible(const FaceletCube& cube);

// ---------------------------------------------------------------------------------------

class FaceletEditor {
public:
    enum class Click { Left, ShiftLeft, CtrlLeft, Right };

    struct ClickResult {
        int facelet = -1;                    // the facelet hit, -1 for none
        bool cubeChanged = false;            // repaint the picture
        bool currentColorChanged = false;    // repaint the swatch
        bool centerDialogRequested = false;  // right click on a centre while centres count
    };

    // Reads the colour scheme and "AutoFix" from settings; settings may be null (defaults,
    // nothing written).
    explicit FaceletEditor(Settings* settings = nullptr);
    FaceletEditor(const FaceletEditor&) = delete;
    FaceletEditor& operator=(const FaceletEditor&) = delete;

    FaceletCube& cube() { return cube_; }
    const FaceletCube& cube() const { return cube_; }
    const ColorScheme& scheme() const { return scheme_; }
    ColorScheme& scheme() { return scheme_; }

    int currentColor() const { return current_; }
    void setCurrentColor(int color);
    bool autoFix() const { return autoFix_; }
    void setAutoFix(bool on);  // written to "AutoFix" at once

    // Where the picture is drawn: facelet size 10, origin (0, 0) unless set, and the scroll offsets.
    PictureGeometry geometry() const { return picture_; }
    void setOrigin(int x, int y);
    void setScroll(int x, int y);

    // Mouse actions on a facelet, or on a pixel of the picture. With the automatic fix, a
    // painted facelet is checked; the corrections this makes are told through prompts.
    ClickResult click(int facelet, Click kind, Prompts* prompts);
    ClickResult clickAt(int x, int y, Click kind, Prompts* prompts);

    // One turn with code 0..11 (U R F D L B x y z E M S); rotations and middle-layer
    // turns permute the colour scheme so the picture keeps its physical colours.
    void turn(int code);
    // A turn button: left click one turn, right click the inverse (three turns).
    void turnButton(int code, bool inverse);

    void emptyAll();      // ButtonEmpty
    void clearAll();      // ButtonClear
    void emptyCorners();  // ButtonEmptyC
    void emptyEdges();    // ButtonEmptyE
    void clearCorners();  // ButtonClearC
    void clearEdges();    // ButtonClearE
    void randomize(MersenneTwister& rng);  // ButtonRandom
    // ButtonCustomize: the current colour gets a new display colour, written to its key.
    void customizeCurrentColor(std::uint32_t color);
    // The maneuver field applied to the editor's cube; answers the number of moves.
    int applyManeuverField(std::string_view text);

    // Centre-orientation dialog. While it is open the face buttons and the add buttons are
    // disabled; empty, clear and random close it as its "Ok" does.
    bool centerDialogOpen() const { return centerDialogOpen_; }
    void openCenterDialog() { centerDialogOpen_ = true; }
    void closeCenterDialog() { centerDialogOpen_ = false; }
    bool faceButtonsEnabled() const { return !centerDialogOpen_; }
    // The option that makes centre orientation count; switching it off closes the dialog.
    void setCentersCount(bool on);
    // A radio button of the dialog: face 0..5 gets rotation 0..3; answers whether "Ok" is
    // enabled afterwards.
    bool setCenterRotation(int face, int rotation);
    bool centerOkEnabled() const { return centerRotationsPossible(cube_); }

private:
    void setPlaces(const std::array<int, 4>& places, bool undefined);

    Settings* settings_;
    ColorScheme scheme_;
    FaceletCube cube_;
    int current_ = 0;
    bool autoFix_ = true;
    PictureGeometry picture_;
    bool centerDialogOpen_ = false;
};

}  // namespace tx
