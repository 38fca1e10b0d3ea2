// The animation dialog ("KORVEL - ANIMATION"): the program's lines, the tool in use, the step
// delay, and Run, Pause, Reset, Single, Fast, Slow, Clear and Close over a Replay that draws
// into the view's overlay, one line every DELAY milliseconds.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <string>

#include "ui/replay.h"

namespace korvel {

class ViewWidget;

class AnimationDialog : public QDialog {
    Q_OBJECT
public:
    AnimationDialog(ViewWidget* view, QWidget* parent = nullptr);
    // Loads the program; false (the tool field shows "Load Error") when it cannot be replayed.
    bool Open(const std::string& path);

    const Replay& State() const { return replay_; }
    QString ToolText() const { return tool_->text(); }
    bool TimerActive() const { return timer_.isActive(); }

    void Run();
    void Pause();
    void Reset();
    void Single();
    void Fast();
    void Slow();
    void Clear();
    // One timer step, as the timer makes it.
    void Step();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int Selected() const;
    // Shows the replay's state: the selected line, the tool, the delay, the timer.
    void Sync();

    ViewWidget* view_;
    Replay replay_;
    QListWidget* list_;
    QLabel* tool_;
    QLabel* delay_;
    QTimer timer_;
};

} // namespace korvel
