// The main window: menus, tool bars, the drawing area and the command line.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <string>

namespace korvel {

class AnimationDialog;
class CommandLine;
class QtPort;
class ViewWidget;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QtPort& port);
    ~MainWindow() override;
    CommandLine* Commands() { return command_line_; }
    ViewWidget* View() { return view_; }
    // The animation dialog of the last G-Code/Run (null before one).
    AnimationDialog* Animation() { return animation_.get(); }
    // Opens the animation dialog on a program; false when it could not be loaded.
    bool RunProgram(const std::string& path);
    // The view of a project just opened or made.
    void FitView();
    QAction* Action(const QString& name) const;
    // Brings the title and the command line's fields up to date.
    void RefreshState();
    // Greys out the commands whose conditions do not hold.
    void RefreshEnabling();

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
    void PrintReport();
    void Make();
    void ViewGCode();
    void Undo();
    void Redo();
    void Configuration();
    void About();
    void ViewTop();
    void ViewIsoSW();
    void ViewIsoSE();
    void ViewAxon();
    void ZoomTable();
    void ZoomBlock();
    void ZoomInCommand();
    void ZoomOutCommand();
    void ZoomFastInCommand();
    void ZoomFastOutCommand();
    void ViewOptions();
    void RunCommand();
    void LoadAndRunCommand();
    void AfterViewCommand();
    void AddViewMenu();

    QtPort& port_;
    CommandLine* command_line_;
    ViewWidget* view_;
    std::unique_ptr<AnimationDialog> animation_;
    QTimer interface_timer_;
};

} // namespace korvel
