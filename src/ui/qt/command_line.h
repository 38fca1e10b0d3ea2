// The command line along the bottom of the main window: a script command, the unit, object
// snap, the top level and the cursor position.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace korvel {

class CommandLine : public QWidget {
    Q_OBJECT
public:
    explicit CommandLine(QWidget* parent = nullptr);
    QLineEdit* Field() { return field_; }
    bool SnapOn() const { return snap_->isChecked(); }
    // Unit and top level from the model; the cursor text as given.
    void Refresh(const QString& cursor);

signals:
    // A command was accepted: the drawing must be redrawn.
    void Changed();

private slots:
    void Ok();

private:
    QLineEdit* field_;
    QLabel* unit_;
    QCheckBox* snap_;
    QLabel* top_level_;
    QLabel* cursor_;
};

} // namespace korvel
