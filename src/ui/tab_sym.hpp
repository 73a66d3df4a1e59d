#pragma once
// The symmetry page (TabSym): the symmetry buttons (GBSpeed), the list of the 33 point groups
// (CbSymmetries) with order (LSymN) and number of cubes (LSymSize), the index-2 subgroups of
// an antisymmetry search (CBASy in GBAntiSym, explained by MemoAntisym), the option boxes and
// BRunSym, which starts and stops the symmetry search. Cubes found go into the cube list.
#include <QToolButton>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/events.hpp"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tx {
class CubeList;
class FaceletCube;
class SySearch;
struct SymSearchOptions;
}  // namespace tx

namespace tx::ui {

// A two-state symmetry button: pressed down when its symmetry belongs to the group, shown
// raised (not flat) when it is an antisymmetry.
class SymmetryButton : public QToolButton {
    Q_OBJECT
public:
    SymmetryButton(int tag, const QString& label, QWidget* parent);
    int tag() const { return tag_; }
    bool isDownState() const { return isChecked(); }
    void setDownState(bool down) { setChecked(down); }
    bool isFlat() const { return autoRaise(); }
    void setFlat(bool flat);

private:
    int tag_;
    QString label_;
};

class TabSym : public QWidget {
    Q_OBJECT
public:
    TabSym(CubeList& list, Events& events, QWidget* parent = nullptr);
    ~TabSym() override;

    // The group as the buttons define it (identity always in), the antisymmetries and the
    // normaliser of both.
    std::uint64_t symmetrySet() const { return symmetrySet_; }
    std::uint64_t antiSymmetryMask() const { return antiSymmetryMask_; }
    std::uint64_t normalizerMask() const { return normalizerMask_; }
    // The GroupMaskTable row of every entry of CBASy.
    const std::vector<int>& antiSubgroupIndex() const { return antiSubgroupIndex_; }
    SymmetryButton* button(int tag) const;
    const std::vector<SymmetryButton*>& buttons() const { return buttons_; }

    bool searchRunning() const;
    // The options the search would start with now.
    SymSearchOptions searchOptions() const;

    // MTransferSymClick: the symmetries and antisymmetries of entry `index`.
    void transferFromEntry(int index);
    // The button popup: its menu and the tag it was opened on.
    QMenu* symmetryPopup() const { return popup_; }
    void openPopup(SymmetryButton* button, const QPoint& globalPos);

    // BRunSym, the pattern and symmetry buttons and the list follow the window's rule.
    void setStartEnabled(bool enabled);

signals:
    void showRequested();         // the page wants to be shown (after a transfer)
    void searchRunningChanged(bool running);

private:
    void buildButtons(QGroupBox* box);
    QWidget* buildGroupPanel();
    QWidget* buildOptionsPanel();
    void connectControls();

    // tab_sym_groups.cpp: the button and list logic.
    void recomputeGroup(SymmetryButton* clicked = nullptr);
    void clearButtons();
    void clearGroupChoice();
    void symmetryButtonClicked(SymmetryButton* button);
    void symmetriesChanged(bool fromUser);
    void subgroupChanged();
    void showSymmetryOrAntisymmetry();
    void selfInverseClicked();
    void useAsAntisymmetry();
    void applySymmetryToSelection();

    // tab_sym_search.cpp
    void runClicked();
    void searchEnded();
    void addFound(const FaceletCube& cube);
    void setRunningControls(bool running);

    CubeList& list_;
    Events& events_;
    std::vector<SymmetryButton*> buttons_;
    std::uint64_t symmetrySet_ = 1;
    std::uint64_t antiSymmetryMask_ = 0;
    std::uint64_t normalizerMask_ = 0;
    std::vector<int> antiSubgroupIndex_;
    int popupTag_ = -1;
    std::unique_ptr<SySearch> search_;
    int cubieSubset_ = 0;  // of the running search's cubes
    bool startEnabled_ = true;

    QGroupBox* speed_ = nullptr;            // GBSpeed
    QComboBox* symmetries_ = nullptr;       // CbSymmetries
    QLabel* order_ = nullptr;               // LSymN
    QLabel* size_ = nullptr;                // LSymSize
    QGroupBox* antiSym_ = nullptr;          // GBAntiSym
    QComboBox* subgroups_ = nullptr;        // CBASy
    QPlainTextEdit* memo_ = nullptr;        // MemoAntisym
    QRadioButton* rbSym_ = nullptr;
    QRadioButton* rbASym_ = nullptr;
    QCheckBox* selfInverse_ = nullptr;      // CSelfInverse
    QCheckBox* noSelfInverse_ = nullptr;    // CBSelfInverse
    QRadioButton* pieces_[5] = {};          // RBAll RBEdgesE RBCornersE RBEdgesO RBCornersO
    QRadioButton* exact_ = nullptr;         // RBExact
    QRadioButton* higher_ = nullptr;        // RBHigher
    QCheckBox* isomorph_ = nullptr;         // CBIsomorph
    QCheckBox* continuous_ = nullptr;       // CBContinuous
    QCheckBox* findGenerators_ = nullptr;   // SymFindGenerators
    QCheckBox* colourCounts_[6] = {};       // CBn1..CBn6
    QPushButton* run_ = nullptr;            // BRunSym
    QMenu* popup_ = nullptr;                // ApplySymPopUp
};

}  // namespace tx::ui
