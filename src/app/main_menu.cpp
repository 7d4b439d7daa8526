#include "app/main_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace movra {

namespace {

QMenu* AddMenu(QMenuBar& bar, const QString& name, const QString& caption)
{
    QMenu* menu = bar.addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QAction* AddItem(QMenu& menu, const QString& name, const QString& caption, bool enabled = true)
{
    QAction* item = menu.addAction(caption);
    item->setObjectName(name);
    item->setEnabled(enabled);
    return item;
}

void SetKeys(QAction& item, QKeySequence::StandardKey standard, const QKeySequence& fallback = {})
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    if (keys.isEmpty())
        item.setShortcut(fallback);
    else
        item.setShortcuts(keys);
}

QAction* AddCheckItem(QMenu& menu, const QString& name, const QString& caption)
{
    QAction* item = AddItem(menu, name, caption);
    item->setCheckable(true);
    item->setChecked(false);
    return item;
}

} // namespace

MainMenu::MainMenu(QMenuBar& bar)
{
    bar.setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = AddMenu(bar, QStringLiteral("File1"), QStringLiteral("File"));
    New1 = AddItem(*file, QStringLiteral("New1"), QStringLiteral("New"), false);
    Save1 = AddItem(*file, QStringLiteral("Save1"), QStringLiteral("Save"), false);
    SaveAs1 = AddItem(*file, QStringLiteral("SaveAs1"), QStringLiteral("Save As"), false);
    file->addSeparator();
    OpenPlateLayout1 = AddItem(*file, QStringLiteral("OpenPlateLayout1"), QStringLiteral("Open PlateLayout"));
    SavePlateLayout1 = AddItem(*file, QStringLiteral("SavePlateLayout1"), QStringLiteral("Save PlateLayout"));
    file->addSeparator();
    Import1 = AddItem(*file, QStringLiteral("Import1"), QStringLiteral("Import"));
    ImportTable1 = AddItem(*file, QStringLiteral("ImportTable1"), QStringLiteral("Import Table..."));
    OpenRecent1 = file->addMenu(QStringLiteral("Open Recent"));
    OpenRecent1->setObjectName(QStringLiteral("OpenRecent1"));
    file->addSeparator();
    SaveReportAs1 = AddItem(*file, QStringLiteral("SaveReportAs1"), QStringLiteral("Save Report As..."));
    ExportGraph1 = AddItem(*file, QStringLiteral("ExportGraph1"), QStringLiteral("Export Graph..."));
    file->addSeparator();
    Exit1 = AddItem(*file, QStringLiteral("Exit1"), QStringLiteral("Exit"));

    QMenu* edit = AddMenu(bar, QStringLiteral("Edit1"), QStringLiteral("Edit"));
    Copy2 = AddItem(*edit, QStringLiteral("Copy2"), QStringLiteral("Copy"));
    edit->addSeparator();
    SelectAll1 = AddItem(*edit, QStringLiteral("SelectAll1"), QStringLiteral("Select All"));

    QMenu* view = AddMenu(bar, QStringLiteral("View1"), QStringLiteral("View"));
    Residuals1 = AddCheckItem(*view, QStringLiteral("Residuals1"), QStringLiteral("Residuals"));
    ScaleResiduals1 = AddCheckItem(*view, QStringLiteral("ScaleResiduals1"), QStringLiteral("Scale Residuals"));
    Legend1 = AddCheckItem(*view, QStringLiteral("Legend1"), QStringLiteral("Legend"));

    QMenu* fit = AddMenu(bar, QStringLiteral("Fit1"), QStringLiteral("Fit"));
    FitShown1 = AddItem(*fit, QStringLiteral("FitShown1"), QStringLiteral("Fit shown"));
    FitAll1 = AddItem(*fit, QStringLiteral("FitAll1"), QStringLiteral("Fit all"));
    FitAll1->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    UseResultAsStart1 = AddItem(*fit, QStringLiteral("UseResultAsStart1"), QStringLiteral("Use result as start"));

    QMenu* help = AddMenu(bar, QStringLiteral("Help1"), QStringLiteral("Help"));
    About1 = AddItem(*help, QStringLiteral("About1"), QStringLiteral("About"));

    // Importing a plate is what "open" means here; layouts, tables and
    // fitting have no standard key and get mnemonic ones.
    SetKeys(*Import1, QKeySequence::Open);
    ImportTable1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    OpenPlateLayout1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    SetKeys(*SavePlateLayout1, QKeySequence::Save);
    SetKeys(*SaveReportAs1, QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    ExportGraph1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    SetKeys(*Exit1, QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
    SetKeys(*Copy2, QKeySequence::Copy);
    FitShown1->setShortcut(QKeySequence(Qt::Key_F5));
    SetKeys(*About1, QKeySequence::HelpContents, QKeySequence(Qt::Key_F1));
}

} // namespace movra
