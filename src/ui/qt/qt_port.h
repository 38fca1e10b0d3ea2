// The desktop program's half of the platform port: Qt message boxes and file dialogs.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace korvel {

class QtPort final : public UiPort {
public:
    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
    bool AskOpenFileName(std::string& path, const std::string& filter,
                         const std::string& default_ext) override;
    bool AskSaveFileName(std::string& path, const std::string& filter,
                         const std::string& default_ext) override;
    void RedrawMainWindow() override;

    void SetOwner(QWidget* owner) { owner_ = owner; }
    void SetRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }

    // For tests, which cannot click: message boxes answer this (kIdOk, kIdYes, ...) and are
    // recorded instead of shown; file dialogs choose `path` (cancelled when empty).
    void AnswerAutomatically(int answer, const std::string& path = "");
    std::vector<std::string> TakeShown();

private:
    QWidget* owner_ = nullptr;
    std::function<void()> redraw_;
    int auto_answer_ = -1;
    std::string auto_path_;
    std::vector<std::string> shown_;
};

} // namespace korvel
