#pragma once
// The first page of the main window (TabSheet1): the facelet editor's picture, its turn
// buttons, the buttons that empty, clear or randomise the cube, the colour controls, the
// maneuver field and the two buttons that add the cube to the list.
#include <QWidget>

#include <functional>
#include <optional>

#include "workspace/facelet_editor.hpp"

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;

namespace tx {
class MersenneTwister;
}

namespace tx::ui {

class FaceletEditorWidget;

class EditorPage : public QWidget {
    Q_OBJECT
public:
    EditorPage(FaceletEditor& editor, MersenneTwister& rng, Prompts* prompts, QWidget* parent = nullptr);

    FaceletEditorWidget* picture() const { return picture_; }
    // Asks the user for a colour; the default shows the colour dialog. Tests replace it.
    std::function<std::optional<QColor>(const QColor& initial)> chooseColor;

    // Enables or disables the controls that start searches or add cubes.
    void setAddButtonsEnabled(bool enabled);
    // ButtonAddSolve can be pressed (the web server refuses requests while it cannot).
    bool addSolveEnabled() const;
    // Brings every control in line with the editor model (after outside changes).
    void refresh();

signals:
    void addSolveRequested();
    void addGenRequested();
    void cubeChanged();    // the editor's cube changed: repaint whatever shows it
    void schemeChanged();  // the colour scheme changed: the list must repaint as well
    void centerDialogRequested();

private:
    void buildTurnButtons(QWidget* box);
    void buildEditButtons(QWidget* box);
    void turn(int code, bool inverse);
    void edit(void (FaceletEditor::*operation)());
    void customize();
    void applyManeuver();
    void updateSwatch();
    void cubeEdited();

    FaceletEditor& editor_;
    MersenneTwister& rng_;
    Prompts* prompts_;
    FaceletEditorWidget* picture_ = nullptr;
    QFrame* swatch_ = nullptr;
    QCheckBox* colorCheck_ = nullptr;
    QLineEdit* maneuver_ = nullptr;
    QList<QPushButton*> faceButtons_;
    QPushButton* addSolve_ = nullptr;
    QPushButton* addGen_ = nullptr;
    bool addEnabled_ = true;
};

}  // namespace tx::ui
