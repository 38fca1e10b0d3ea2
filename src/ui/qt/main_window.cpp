// The main window and its commands.
#include "ui/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPalette>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "model/heights.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "script/config.h"
#include "script/undo.h"
#include "ui/app.h"
#include "ui/dxf_commands.h"
#include "ui/qt/command_line.h"
#include "ui/qt/qt_port.h"

namespace korvel {

MainWindow::MainWindow(QtPort& port) : port_(port) {
    port_.SetOwner(this);
    port_.SetRedraw([this] { update(); });
    resize(1000, 700);
    move(10, 10);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    drawing_ = new QWidget(central);
    drawing_->setObjectName("drawing");
    drawing_->setMouseTracking(true);
    drawing_->setAutoFillBackground(true);
    QPalette palette = drawing_->palette();
    palette.setColor(QPalette::Window, GetSettings().background_white ? Qt::white : Qt::black);
    drawing_->setPalette(palette);
    command_line_ = new CommandLine(central);
    layout->addWidget(drawing_, 1);
    layout->addWidget(command_line_);
    setCentralWidget(central);
    connect(command_line_, &CommandLine::Changed, this, [this] {
        RefreshState();
        update();
    });

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
    AddAction(file, "&Import DXF...", "importdxf", QKeySequence(), &MainWindow::ImportDxf);
    AddAction(file, "&Export DXF...", "exportdxf", QKeySequence(), &MainWindow::ExportDxf);
    file->addSeparator();
    AddAction(file, "E&xit", "exit", QKeySequence::Quit, &MainWindow::Exit);
    QMenu* edit = menuBar()->addMenu("&Edit");
    AddAction(edit, "&Undo", "undo", QKeySequence::Undo, &MainWindow::Undo)
        ->setIcon(s->standardIcon(QStyle::SP_ArrowBack));
    AddAction(edit, "&Redo", "redo", QKeySequence::Redo, &MainWindow::Redo)
        ->setIcon(s->standardIcon(QStyle::SP_ArrowForward));
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
    command_line_->Refresh(QString());
}

void MainWindow::InterfaceTick() {
    // The cursor position needs the view's projection, which the drawing area does not have
    // yet; the unit and top level are kept current.
    command_line_->Refresh(QString());
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
    NewProject();
    RefreshState();
    update();
}

void MainWindow::Open() {
    OpenProjectDialog();
    RefreshState();
    update();
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
    ImportDXFCommand();
    RefreshState();
    update();
}

void MainWindow::ExportDxf() { ExportDXFCommand(); }

void MainWindow::Exit() { close(); }

void MainWindow::Undo() {
    UnDo();
    RecalcZ();
    RefreshState();
    update();
}

void MainWindow::Redo() {
    ReDo();
    RecalcZ();
    RefreshState();
    update();
}

void MainWindow::Configuration() { EditCfgFile(); }

void MainWindow::About() { ShowMessage(AboutText(), "About Korvel", kMbOk | kMbIconInformation); }

} // namespace korvel
