// View, View Options: a check box for each part of the picture that the view's visibility bits
// can hide, and the display level (objects standing above it are left out). OK applies both;
// Cancel leaves everything as it was.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>

namespace korvel {

class ViewOptionsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kBits = 7;

    explicit ViewOptionsDialog(QWidget* parent = nullptr);
    // The check box of visibility bit 0 (machine table) to 6 (free drawing).
    QCheckBox* Box(int bit) const { return boxes_[bit]; }
    // "All levels", then "Block" (only what stands on the block), then "Level 1" up to the
    // top level, as the command line counts levels.
    QComboBox* LevelBox() const { return level_; }
    // Whether OK changed the visibility bits (they are part of the project's view).
    bool BitsChanged() const { return bits_changed_; }

    void accept() override;

private:
    QCheckBox* boxes_[kBits];
    QComboBox* level_;
    bool bits_changed_ = false;
};

} // namespace korvel
