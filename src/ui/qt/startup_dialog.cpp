// Loading the data files step by step while the window stays responsive.
#include "ui/qt/startup_dialog.h"

#include <QVBoxLayout>
#include <string>

#include "script/core_commands.h"
#include "base/text.h"
#include "ui/startup.h"

namespace korvel {

StartupDialog::StartupDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("KORVEL");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QString::fromStdString(Sprintf("KORVEL Version %0.2f", kKorvelVersion)), this));
    step_label_ = new QLabel("Loading. Please wait...", this);
    layout->addWidget(step_label_);
    setModal(true);
    connect(&timer_, &QTimer::timeout, this, &StartupDialog::Step);
    timer_.start(100);
}

void StartupDialog::Step() {
    std::string text;
    step_ = RunLoadingStep(step_, text);
    if (!text.empty())
        step_label_->setText(QString::fromStdString(text));
    if (step_ < 0) {
        timer_.stop();
        accept();
    }
}

} // namespace korvel
