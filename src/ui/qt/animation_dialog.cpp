// The animation dialog.
#include "ui/qt/animation_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QPushButton>

#include "ui/qt/view_widget.h"

namespace korvel {

AnimationDialog::AnimationDialog(ViewWidget* view, QWidget* parent) : QDialog(parent), view_(view) {
    setWindowTitle("KORVEL - ANIMATION");
    setObjectName("animation");
    auto* layout = new QGridLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName("lines");
    tool_ = new QLabel(this);
    tool_->setObjectName("tool");
    tool_->setMinimumWidth(160);
    delay_ = new QLabel(this);
    delay_->setObjectName("delay");
    layout->addWidget(list_, 0, 0, 1, 4);
    layout->addWidget(new QLabel("Tool:", this), 1, 0);
    layout->addWidget(tool_, 1, 1, 1, 3);
    layout->addWidget(new QLabel("Delay (ms):", this), 2, 0);
    layout->addWidget(delay_, 2, 1);
    int at = 0;
    struct Button {
        const char* text;
        const char* name;
        void (AnimationDialog::*slot)();
    } buttons[] = {
        {"Run", "run", &AnimationDialog::Run},       {"Pause", "pause", &AnimationDialog::Pause},
        {"Reset", "reset", &AnimationDialog::Reset}, {"Single", "single", &AnimationDialog::Single},
        {"Fast", "fast", &AnimationDialog::Fast},    {"Slow", "slow", &AnimationDialog::Slow},
        {"Clear", "clear", &AnimationDialog::Clear}, {"Close", "close", nullptr}};
    for (const Button& b : buttons) {
        QPushButton* button = new QPushButton(b.text, this);
        button->setObjectName(b.name);
        button->setAutoDefault(false);
        if (b.slot)
            connect(button, &QPushButton::clicked, this, b.slot);
        else
            connect(button, &QPushButton::clicked, this, &QDialog::close);
        layout->addWidget(button, 3 + at / 4, at % 4);
        ++at;
    }
    connect(&timer_, &QTimer::timeout, this, &AnimationDialog::Step);
    timer_.setSingleShot(true);
}

bool AnimationDialog::Open(const std::string& path) {
    bool ok = replay_.Open(path, view_->Overlay());
    list_->clear();
    for (const std::string& line : replay_.Lines())
        list_->addItem(QString::fromStdString(line));
    Sync();
    return ok;
}

int AnimationDialog::Selected() const { return list_->currentRow(); }

void AnimationDialog::Sync() {
    if (replay_.Current() < list_->count())
        list_->setCurrentRow(replay_.Current());
    tool_->setText(QString::fromStdString(replay_.ToolText()));
    delay_->setText(QString::number(replay_.Delay()));
    if (!replay_.Running())
        timer_.stop();
    else if (!timer_.isActive())
        timer_.start(replay_.Delay());
}

void AnimationDialog::Run() {
    replay_.Run(Selected());
    Sync();
}

void AnimationDialog::Pause() {
    replay_.Pause();
    Sync();
}

void AnimationDialog::Reset() {
    timer_.stop();
    replay_.Reset(view_->Overlay());
    Sync();
}

void AnimationDialog::Single() {
    replay_.Single(view_->Overlay(), Selected());
    view_->update();
    Sync();
}

void AnimationDialog::Fast() {
    replay_.Fast();
    Sync();
}

void AnimationDialog::Slow() {
    replay_.Slow();
    Sync();
}

void AnimationDialog::Clear() { view_->ClearOverlay(); }

void AnimationDialog::Step() {
    replay_.TimerStep(view_->Overlay());
    view_->update();
    Sync(); // restarts the single-shot timer with the current delay while running
}

void AnimationDialog::closeEvent(QCloseEvent* event) {
    timer_.stop();
    replay_.Pause();
    event->accept();
}

} // namespace korvel
