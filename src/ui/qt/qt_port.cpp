// Message boxes and file dialogs of the desktop program.
#include "ui/qt/qt_port.h"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/app.h"

namespace korvel {

int QtPort::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
    unsigned buttons = flags & kMbButtonMask;
    if (auto_answer_ >= 0) {
        shown_.push_back("[" + caption + "] " + text);
        if (buttons == kMbOk)
            return kIdOk;
        return auto_answer_;
    }
    QMessageBox box(owner_);
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (flags & kMbIconMask) {
    case kMbIconError:
        box.setIcon(QMessageBox::Critical);
        break;
    case kMbIconQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case kMbIconExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case kMbIconInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (buttons) {
    case kMbYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case kMbYesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case kMbOkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return kIdYes;
    case QMessageBox::No:
        return kIdNo;
    case QMessageBox::Cancel:
        return kIdCancel;
    default:
        return buttons == kMbYesNoCancel || buttons == kMbOkCancel ? kIdCancel : kIdOk;
    }
}

bool QtPort::AskOpenFileName(std::string& path, const std::string& filter, const std::string&) {
    if (auto_answer_ >= 0) {
        path = auto_path_;
        return !path.empty();
    }
    QString chosen = QFileDialog::getOpenFileName(owner_, "Open", QString(),
                                                  QString::fromStdString(DialogFilter(filter)));
    path = chosen.toStdString();
    return !chosen.isEmpty();
}

bool QtPort::AskSaveFileName(std::string& path, const std::string& filter,
                             const std::string& default_ext) {
    if (auto_answer_ >= 0) {
        path = auto_path_;
        return !path.empty();
    }
    QFileDialog dialog(owner_, "Save As", QString(), QString::fromStdString(DialogFilter(filter)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(default_ext));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = dialog.selectedFiles().front().toStdString();
    return true;
}

void QtPort::RedrawMainWindow() {
    if (redraw_)
        redraw_();
}

void QtPort::AnswerAutomatically(int answer, const std::string& path) {
    auto_answer_ = answer;
    auto_path_ = path;
}

std::vector<std::string> QtPort::TakeShown() {
    std::vector<std::string> shown;
    shown.swap(shown_);
    return shown;
}

} // namespace korvel
