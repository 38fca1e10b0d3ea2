// The command line widget.
#include "ui/qt/command_line.h"

#include <QHBoxLayout>

#include "ui/app.h"

namespace korvel {

CommandLine::CommandLine(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 2, 5, 2);
    field_ = new QLineEdit(this);
    field_->setObjectName("command");
    unit_ = new QLabel(this);
    snap_ = new QCheckBox("OSNAP", this);
    snap_->setChecked(true);
    top_level_ = new QLabel(this);
    top_level_->setObjectName("toplevel");
    cursor_ = new QLabel(this);
    cursor_->setMinimumWidth(220);
    layout->addWidget(field_, 1);
    layout->addWidget(unit_);
    layout->addWidget(snap_);
    layout->addWidget(top_level_);
    layout->addWidget(cursor_);
    setFixedHeight(30);
    connect(field_, &QLineEdit::returnPressed, this, &CommandLine::Ok);
    Refresh(QString());
}

void CommandLine::Refresh(const QString& cursor) {
    unit_->setText(QString::fromStdString(UnitLabel()));
    top_level_->setText(QString::fromStdString(TopLevelText()));
    cursor_->setText(cursor);
}

void CommandLine::Ok() {
    if (CommandLineOk(field_->text().toStdString())) {
        field_->clear();
        Refresh(cursor_->text());
        emit Changed();
    }
}

} // namespace korvel
