// The main window and its commands.
#include "ui/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "cad/dots.h"
#include "model/heights.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "script/config.h"
#include "script/undo.h"
#include "ui/app.h"
#include "ui/dxf_commands.h"
#include "ui/qt/animation_dialog.h"
#include "ui/qt/command_line.h"
#include "ui/qt/import_dxf_dialog.h"
#include "ui/qt/qt_port.h"
#include "ui/qt/view_options_dialog.h"
#include "ui/qt/view_widget.h"
#include "ui/replay.h"
#include "ui/report_commands.h"
#include "ui/view.h"

namespace korvel {

MainWindow::MainWindow(QtPort& port) : port_(port) {
    port_.SetOwner(this);
    port_.SetRedraw([this] { view_->update(); });
    resize(1000, 700);
    move(10, 10);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new ViewWidget(central);
    command_line_ = new CommandLine(central);
    layout->addWidget(view_, 1);
    layout->addWidget(command_line_);
    setCentralWidget(central);
    connect(command_line_, &CommandLine::Changed, this, [this] {
        RefreshState();
        view_->update();
    });
    connect(view_, &ViewWidget::CursorMoved, this,
            [this](const QString& text) { command_line_->Refresh(text); });

    QStyle* s = style();
    QMenu* file = menuBar()->addMenu("&File");
    AddAction(file, "&New", "new", QKeySequence::New, &MainWindow::New)
        ->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    AddAction(file, "&Open...", "open", QKeySequence::Open, &MainWindow::Open)
        ->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    AddAction(file, "&Save", "save", QKeySequence::Save, &MainWindow::Save)
        ->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    AddAction(file, "Save &As...", "saveas", QKeySequence::SaveAs, &MainWindow::SaveAs);
    file->addSeparator();
    AddAction(file, "&Print report", "printreport", QKeySequence::Print, &MainWindow::PrintReport);
    AddAction(file, "&Import DXF...", "importdxf", QKeySequence(), &MainWindow::ImportDxf);
    AddAction(file, "&Export DXF...", "exportdxf", QKeySequence(), &MainWindow::ExportDxf);
    file->addSeparator();
    AddAction(file, "E&xit", "exit", QKeySequence::Quit, &MainWindow::Exit);
    QMenu* edit = menuBar()->addMenu("&Edit");
    AddAction(edit, "&Undo", "undo", QKeySequence::Undo, &MainWindow::Undo)
        ->setIcon(s->standardIcon(QStyle::SP_ArrowBack));
    AddAction(edit, "&Redo", "redo", QKeySequence::Redo, &MainWindow::Redo)
        ->setIcon(s->standardIcon(QStyle::SP_ArrowForward));
    AddViewMenu();
    QMenu* gcode = menuBar()->addMenu("&G-Code");
    AddAction(gcode, "&Make", "make", QKeySequence(), &MainWindow::Make);
    AddAction(gcode, "&View", "viewgcode", QKeySequence(), &MainWindow::ViewGCode);
    gcode->addSeparator();
    AddAction(gcode, "&Run", "run", QKeySequence(), &MainWindow::RunCommand);
    AddAction(gcode, "&Load && Run...", "loadrun", QKeySequence(), &MainWindow::LoadAndRunCommand);
    QMenu* setup = menuBar()->addMenu("&Setup");
    AddAction(setup, "&Configuration...", "configuration", QKeySequence(),
              &MainWindow::Configuration);
    QMenu* help = menuBar()->addMenu("&Help");
    AddAction(help, "&About", "about", QKeySequence(), &MainWindow::About);

    QToolBar* file_bar = addToolBar("File");
    file_bar->setObjectName("filebar");
    for (const char* name : {"new", "open", "save"})
        file_bar->addAction(Action(name));
    QToolBar* edit_bar = addToolBar("Edit");
    edit_bar->setObjectName("editbar");
    for (const char* name : {"undo", "redo"})
        edit_bar->addAction(Action(name));

    // The interface timer runs first after 250 ms, then every 100 ms.
    connect(&interface_timer_, &QTimer::timeout, this, &MainWindow::InterfaceTick);
    interface_timer_.setSingleShot(true);
    interface_timer_.start(250);
    RefreshState();
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::AddAction(QMenu* menu, const QString& text, const QString& name,
                               const QKeySequence& key, void (MainWindow::*slot)()) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    if (!key.isEmpty())
        action->setShortcut(key);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

QAction* MainWindow::Action(const QString& name) const { return findChild<QAction*>(name); }

void MainWindow::RefreshState() {
    setWindowTitle(QString::fromStdString(WindowTitle()));
    command_line_->Refresh(view_->CursorText());
    RefreshEnabling();
}

void MainWindow::RefreshEnabling() {
    Action("printreport")->setEnabled(MenuPrintReportEnabled());
    Action("make")->setEnabled(MenuMakeEnabled());
    Action("viewgcode")->setEnabled(MenuViewGCodeEnabled());
}

void MainWindow::InterfaceTick() {
    command_line_->Refresh(view_->CursorText());
    RefreshEnabling();
    interface_timer_.setSingleShot(false);
    interface_timer_.start(100);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!ExitApplication()) {
        event->ignore();
        return;
    }
    interface_timer_.stop();
    event->accept();
}

void MainWindow::New() {
    if (NewProject()) {
        RemoveDots();
        FitViewToProject(false);
        view_->ViewChanged();
        SetViewChanged(false);
    }
    RefreshState();
    view_->update();
}

void MainWindow::Open() {
    if (OpenProjectDialog())
        FitView();
    RefreshState();
    view_->update();
}

void MainWindow::FitView() {
    RemoveDots();
    FitViewToProject(TakeZoomToBlockRequest());
    view_->ViewChanged();
    SetViewChanged(false);
}

void MainWindow::Save() {
    SaveProjectCommand();
    RefreshState();
}

void MainWindow::SaveAs() {
    SaveProjectAs();
    RefreshState();
}

void MainWindow::ImportDxf() {
    ImportDXFCommand([this](DXFImportSettings& s) { return AskImportDxfSettings(s, this); });
    RefreshState();
    update();
}

void MainWindow::ExportDxf() { ExportDXFCommand(); }

void MainWindow::Exit() { close(); }

void MainWindow::PrintReport() { MenuPrintReport(); }

void MainWindow::Make() {
    MenuMake();
    RefreshState();
    update();
}

void MainWindow::ViewGCode() { MenuViewGCode(); }

void MainWindow::Undo() {
    UnDo();
    RecalcZ();
    RefreshState();
    view_->update();
}

void MainWindow::Redo() {
    ReDo();
    RecalcZ();
    RefreshState();
    view_->update();
}

void MainWindow::Configuration() { EditCfgFile(); }

void MainWindow::About() { ShowMessage(AboutText(), "About Korvel", kMbOk | kMbIconInformation); }

} // namespace korvel

namespace korvel {

void MainWindow::AddViewMenu() {
    QMenu* view = menuBar()->addMenu("&View");
    AddAction(view, "&Top view", "viewtop", QKeySequence(), &MainWindow::ViewTop);
    AddAction(view, "Isometric &SW", "viewisosw", QKeySequence(), &MainWindow::ViewIsoSW);
    AddAction(view, "Isometric S&E", "viewisose", QKeySequence(), &MainWindow::ViewIsoSE);
    AddAction(view, "&Axonometric", "viewaxon", QKeySequence(), &MainWindow::ViewAxon);
    view->addSeparator();
    AddAction(view, "View &Options...", "viewoptions", QKeySequence(), &MainWindow::ViewOptions);
    view->addSeparator();
    AddAction(view, "Zoom &Table", "zoomtable", QKeySequence(), &MainWindow::ZoomTable);
    AddAction(view, "Zoom &Block", "zoomblock", QKeySequence(), &MainWindow::ZoomBlock);
    AddAction(view, "Zoom &In", "zoomin", QKeySequence::ZoomIn, &MainWindow::ZoomInCommand);
    AddAction(view, "Zoom &Out", "zoomout", QKeySequence::ZoomOut, &MainWindow::ZoomOutCommand);
    AddAction(view, "Zoom &Fast In", "zoomfastin", QKeySequence(), &MainWindow::ZoomFastInCommand);
    AddAction(view, "Zoom Fast O&ut", "zoomfastout", QKeySequence(),
              &MainWindow::ZoomFastOutCommand);
    QToolBar* bar = addToolBar("View");
    bar->setObjectName("viewbar");
    const char* names[] = {"viewtop",   "viewisosw", "viewisose", "viewaxon",   "zoomtable",
                           "zoomblock", "zoomin",    "zoomout",   "zoomfastin", "zoomfastout"};
    const char* icons[] = {"Top", "SW", "SE", "Axo", "Tbl", "Blk", "+", "-", "++", "--"};
    for (int i = 0; i < 10; ++i) {
        QAction* action = Action(names[i]);
        action->setIconText(icons[i]);
        bar->addAction(action);
    }
}

void MainWindow::AfterViewCommand() {
    view_->ViewChanged();
    RefreshState();
}

void MainWindow::ViewTop() {
    if (SetViewMode(kViewTop))
        AfterViewCommand();
}
void MainWindow::ViewIsoSW() {
    if (SetViewMode(kViewIsoSW))
        AfterViewCommand();
}
void MainWindow::ViewIsoSE() {
    if (SetViewMode(kViewIsoSE))
        AfterViewCommand();
}
void MainWindow::ViewAxon() {
    if (SetViewMode(kViewAxon))
        AfterViewCommand();
}
void MainWindow::ZoomTable() {
    ViewTable();
    AfterViewCommand();
}
void MainWindow::ZoomBlock() {
    if (ViewBlock())
        AfterViewCommand();
}
void MainWindow::ZoomInCommand() {
    ZoomIn();
    AfterViewCommand();
}
void MainWindow::ZoomOutCommand() {
    ZoomOut();
    AfterViewCommand();
}
void MainWindow::ZoomFastInCommand() {
    ZoomFastIn();
    AfterViewCommand();
}
void MainWindow::ZoomFastOutCommand() {
    ZoomFastOut();
    AfterViewCommand();
}

// The options change what is drawn, not where: a replay's moves still fit the picture.
void MainWindow::ViewOptions() {
    ViewOptionsDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.BitsChanged())
        SetViewChanged(true);
    RefreshState();
    view_->update();
}

bool MainWindow::RunProgram(const std::string& path) {
    if (animation_)
        animation_->close();
    animation_ = std::make_unique<AnimationDialog>(view_, this);
    bool ok = animation_->Open(path);
    animation_->show();
    return ok;
}

void MainWindow::RunCommand() {
    std::string path;
    if (GCodeRunFile(path))
        RunProgram(path);
}

void MainWindow::LoadAndRunCommand() {
    std::string path;
    if (GCodeLoadAndRunFile(path))
        RunProgram(path);
}

} // namespace korvel
