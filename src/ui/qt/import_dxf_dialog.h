// "Import DXF drawing": where the drawing lands and how large one of its units is.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>

#include "cad/dxf_import.h"

namespace korvel {

class ImportDxfDialog : public QDialog {
    Q_OBJECT
public:
    // `inch`: the project counts in inches, and the scale field says so.
    ImportDxfDialog(const DXFImportSettings& start, bool inch, QWidget* parent = nullptr);
    // The settings as the fields hold them (valid after the dialog was accepted).
    const DXFImportSettings& Settings() const { return settings_; }

    QLineEdit* EntryX() const { return entry_x_; }
    QLineEdit* EntryY() const { return entry_y_; }
    QLineEdit* Scale() const { return scale_; }
    QCheckBox* FirstPoint() const { return first_point_; }

public slots:
    // Stays open while a field does not hold a number or the scale is not greater than 0.
    void accept() override;

private:
    QLineEdit* entry_x_;
    QLineEdit* entry_y_;
    QLineEdit* scale_;
    QCheckBox* first_point_;
    DXFImportSettings settings_;
};

// Runs the dialog modally over `parent`; false when the user cancelled.
bool AskImportDxfSettings(DXFImportSettings& settings, QWidget* parent);

} // namespace korvel
