#pragma once
// Shared set-up of the tests of the pages' behaviour: the program's windows
// with scripted dialogs, the demo plate imported on request, and short ways
// to label wells through the layout grid's popup menu and to choose a sample.

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTableView>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/graph_commands.h"
#include "app/graph_page.h"
#include "app/plate_layout_page.h"
#include "app/program_windows.h"
#include "app/table_selection.h"
#include "app_test_environment.h"
#include "scripted_dialogs.h"

namespace movra::test {

inline const std::filesystem::path kDemoData = MOVRA_DATA;

class WiringTest : public ::testing::Test {
protected:
    WiringTest() { ClearSettings(); }

    MainWindow& form() { return windows.Form1(); }
    AppState& state() { return form().state(); }
    PlateLayoutPage& layoutPage() { return form().plateLayoutPage(); }
    GraphPage& graph() { return form().graphPage(); }

    void ImportFile(const std::filesystem::path& file)
    {
        dialogs.inputs.push_back("0");  // time offset
        dialogs.files.push_back(file);
        form().menu().Import1->trigger();
        ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    }
    void ImportDemoPlate() { ImportFile(kDemoData / "demo-kinetic-96.txt"); }

    // The popup menu's item with this caption, or null.
    QAction* PopupItem(const QString& caption)
    {
        for (QAction* item : layoutPage().PopupMenu1().actions())
            if (item->text() == caption) return item;
        return nullptr;
    }
    QStringList PopupCaptions()
    {
        QStringList captions;
        for (QAction* item : layoutPage().PopupMenu1().actions()) captions.append(item->text());
        return captions;
    }
    // Selects plate columns left..right, rows top..bottom and chooses the item.
    void Label(const GridSelection& cells, const QString& item)
    {
        SelectCells(layoutPage().PlateLayoutGrid(), cells);
        QAction* action = PopupItem(item);
        ASSERT_NE(action, nullptr) << item.toStdString();
        action->trigger();
    }
    QStringList ChooserEntries()
    {
        QStringList entries;
        for (int i = 0; i < graph().SelectSample().count(); ++i) entries.append(graph().SelectSample().itemText(i));
        return entries;
    }
    // Chooses a sample in the chooser as the user does.
    void ChooseSample(const QString& sample)
    {
        QComboBox& chooser = graph().SelectSample();
        const int index = chooser.findText(sample);
        ASSERT_GE(index, 0) << sample.toStdString();
        chooser.setCurrentIndex(index);
        emit chooser.activated(index);
    }

    ScriptedDialogs dialogs;
    ProgramWindows windows{dialogs};
};

} // namespace movra::test
