// The start-up dialog: shows the version and runs one loading step every 100 ms.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QTimer>

namespace korvel {

class StartupDialog : public QDialog {
    Q_OBJECT
public:
    explicit StartupDialog(QWidget* parent = nullptr);
    QString StepText() const { return step_label_->text(); }

private slots:
    void Step();

private:
    QLabel* step_label_;
    QTimer timer_;
    int step_ = 0;
};

} // namespace korvel
