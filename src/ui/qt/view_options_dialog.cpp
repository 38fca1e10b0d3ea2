// The View Options dialog.
#include "ui/qt/view_options_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "model/bulge.h"
#include "model/settings.h"
#include "ui/view.h"

namespace korvel {

namespace {

// In the order of the bits.
const char* const kCaptions[ViewOptionsDialog::kBits] = {
    "Machine table",  "Machine origin", "Coordinate system", "Block",
    "Machine limits", "Fixtures",       "Free drawing"};

// The level items' values: kAllLevels, then -1 (the block) and the bulge levels.
int LevelOfItem(int item) { return item == 0 ? kAllLevels : item - 2; }

} // namespace

ViewOptionsDialog::ViewOptionsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("View Options");
    setObjectName("viewoptionsdialog");
    auto* layout = new QVBoxLayout(this);
    auto* shown = new QGroupBox("Show", this);
    auto* shown_layout = new QVBoxLayout(shown);
    int bits = GetSettings().view_bits;
    for (int bit = 0; bit < kBits; ++bit) {
        boxes_[bit] = new QCheckBox(kCaptions[bit], shown);
        boxes_[bit]->setChecked(bits & (1 << bit));
        shown_layout->addWidget(boxes_[bit]);
    }
    layout->addWidget(shown);

    // Every level a bulge stands on, and the one chosen now even when no bulge is left there.
    level_ = new QComboBox(this);
    int current = DisplayLevel();
    int last = TopLevel();
    if (current < kAllLevels && current > last)
        last = current;
    level_->addItem("All levels");
    level_->addItem("Block");
    for (int level = 0; level <= last; ++level)
        level_->addItem(QString("Level %1").arg(level + 1));
    level_->setCurrentIndex(current >= kAllLevels ? 0 : current < -1 ? 1 : current + 2);
    auto* form = new QFormLayout;
    form->addRow("Display level", level_);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ViewOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ViewOptionsDialog::reject);
    layout->addWidget(buttons);
}

void ViewOptionsDialog::accept() {
    int bits = GetSettings().view_bits;
    int chosen = bits & ~((1 << kBits) - 1); // bits this dialog does not show stay
    for (int bit = 0; bit < kBits; ++bit)
        if (boxes_[bit]->isChecked())
            chosen |= 1 << bit;
    bits_changed_ = chosen != bits;
    MutableSettings().view_bits = chosen;
    SetDisplayLevel(LevelOfItem(level_->currentIndex()));
    QDialog::accept();
}

} // namespace korvel
