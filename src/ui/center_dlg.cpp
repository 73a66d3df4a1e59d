#include "ui/center_dlg.hpp"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "workspace/facelet_editor.hpp"

namespace tx::ui {

namespace {
constexpr const char* kFaceNames[6] = {"U", "R", "F", "D", "L", "B"};
}

TCenterDlg::TCenterDlg(FaceletEditor& editor, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      editor_(editor) {
    setObjectName("CenterDlg");
    setWindowTitle(tr("Center Orientation"));

    auto* label = new QLabel(tr("Rotation of each centre in clockwise quarter turns, seen from outside "
                                "the face: 0 straight, 1 a quarter turn, 2 a half turn, 3 three quarter "
                                "turns."),
                             this);
    label->setObjectName("Label1");
    label->setWordWrap(true);

    auto* faces = new QGridLayout;
    for (int face = 0; face < 6; ++face) {
        auto* box = new QGroupBox(kFaceNames[face], this);
        box->setObjectName(kFaceNames[face]);
        auto* column = new QVBoxLayout(box);
        auto* group = new QButtonGroup(box);
        for (int rotation = 0; rotation < 4; ++rotation) {
            auto* b = new QRadioButton(QString::number(rotation), box);
            b->setObjectName(QString("%1%2").arg(kFaceNames[face]).arg(rotation));
            b->setProperty("Tag", rotation);
            group->addButton(b, rotation);
            column->addWidget(b);
            radios_[face][rotation] = b;
            connect(b, &QRadioButton::clicked, this, [this, face, b] { faceClicked(face, b->property("Tag").toInt()); });
        }
        faces->addWidget(box, 0, face);
    }

    button1_ = new QPushButton(tr("Ok"), this);
    button1_->setObjectName("Button1");
    button1_->setDefault(true);
    connect(button1_, &QPushButton::clicked, this, [this] {
        hide();
        emit okClicked();
    });
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(button1_);
    buttonRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(faces);
    layout->addLayout(buttonRow);
    setFixedWidth(sizeHint().width());
    sync();
}

void TCenterDlg::sync() {
    const auto& ori = editor_.cube().centerOri;
    for (int face = 0; face < 6; ++face) {
        QRadioButton* b = radios_[face][ori[face] & 3];
        QSignalBlocker quiet(b);
        b->setChecked(true);
    }
    button1_->setEnabled(editor_.centerOkEnabled());
}

void TCenterDlg::faceClicked(int face, int rotation) {
    button1_->setEnabled(editor_.setCenterRotation(face, rotation));
    emit rotationChanged();
}

}  // namespace tx::ui
