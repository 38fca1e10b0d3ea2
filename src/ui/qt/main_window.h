// The main window: menus, tool bars, the drawing area and the command line.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QTimer>

namespace korvel {

class CommandLine;
class QtPort;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QtPort& port);
    CommandLine* Commands() { return command_line_; }
    QAction* Action(const QString& name) const;
    // Brings the title and the command line's fields up to date.
    void RefreshState();

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void InterfaceTick();

private:
    QAction* AddAction(QMenu* menu, const QString& text, const QString& name,
                       const QKeySequence& key, void (MainWindow::*slot)());
    void New();
    void Open();
    void Save();
    void SaveAs();
    void ImportDxf();
    void ExportDxf();
    void Exit();
    void Undo();
    void Redo();
    void Configuration();
    void About();

    QtPort& port_;
    CommandLine* command_line_;
    QWidget* drawing_;
    QTimer interface_timer_;
};

} // namespace korvel
