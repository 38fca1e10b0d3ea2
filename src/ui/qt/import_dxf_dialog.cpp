// The settings dialog of File/Import DXF.
#include "ui/qt/import_dxf_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>
#include <cmath>

#include "base/units.h"

namespace korvel {

namespace {

QString Number(double v) { return QString::number(v, 'f', 4); }

// A finite number in the C locale (the fields take a point whatever the desktop's locale);
// blanks around it are allowed.
bool ReadNumber(const QLineEdit* field, double& v) {
    bool ok = false;
    v = QLocale::c().toDouble(field->text().trimmed(), &ok);
    return ok && std::isfinite(v);
}

} // namespace

ImportDxfDialog::ImportDxfDialog(const DXFImportSettings& start, bool inch, QWidget* parent)
    : QDialog(parent), settings_(start) {
    setWindowTitle("Import DXF drawing");
    auto* grid = new QGridLayout;
    entry_x_ = new QLineEdit(Number(start.entry_x), this);
    entry_y_ = new QLineEdit(Number(start.entry_y), this);
    scale_ = new QLineEdit(Number(start.scale), this);
    grid->addWidget(new QLabel("Entry point (X,Y)", this), 0, 0);
    grid->addWidget(entry_x_, 0, 1);
    grid->addWidget(entry_y_, 0, 2);
    grid->addWidget(new QLabel("1 Drawing Unit =", this), 1, 0);
    grid->addWidget(scale_, 1, 1);
    grid->addWidget(new QLabel(inch ? "inch" : "mm", this), 1, 2);
    first_point_ = new QCheckBox("Use first DXF point as reference point", this);
    first_point_->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ImportDxfDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ImportDxfDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(first_point_);
    layout->addWidget(buttons);
}

void ImportDxfDialog::accept() {
    DXFImportSettings s;
    if (!ReadNumber(entry_x_, s.entry_x) || !ReadNumber(entry_y_, s.entry_y) ||
        !ReadNumber(scale_, s.scale) || s.scale <= 0)
        return;
    s.first_point = first_point_->isChecked();
    settings_ = s;
    QDialog::accept();
}

bool AskImportDxfSettings(DXFImportSettings& settings, QWidget* parent) {
    ImportDxfDialog dialog(settings, UserUnit() == kUnitInch, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = dialog.Settings();
    return true;
}

} // namespace korvel
