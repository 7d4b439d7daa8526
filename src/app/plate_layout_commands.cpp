#include "app/plate_layout_commands.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QStringList>

#include <stdexcept>
#include <string>

#include "app/app_state.h"
#include "app/atomic_file_save.h"
#include "app/command_guard.h"
#include "app/graph_commands.h"
#include "app/graph_page.h"
#include "app/plate_layout_page.h"
#include "app/session_settings.h"
#include "app/text_encoding.h"
#include "plate/plate_layout_file.h"
#include "plate/text_decoding.h"

namespace movra {

namespace {

constexpr const char* kLayoutFilter = "Layouts|*.PLO|All files|*";

} // namespace

PlateLayoutCommands::PlateLayoutCommands(AppState& state, PlateLayoutPage& page, GraphCommands& graph,
                                         UserDialogs& dialogs)
    : state_(state), page_(page), graph_(graph), dialogs_(dialogs)
{
    QObject::connect(&page_, &PlateLayoutPage::sampleChosen, &page_,
                     [this](int tag) { RunCommand(dialogs_, [this, tag] { Sample11Click(tag); }); });
    QObject::connect(&page_, &PlateLayoutPage::clearChosen, &page_,
                     [this] { RunCommand(dialogs_, [this] { Clear1Click(); }); });
    QObject::connect(&page_, &PlateLayoutPage::sampleTyped, &page_,
                     [this](int number) { RunCommand(dialogs_, [this, number] { SampleTyped(number); }); });
}

FileDialogRequest PlateLayoutCommands::SaveDialog()
{
    return {"Save plate layout", kLayoutFilter, 1, "*.PLO", {}};
}

FileDialogRequest PlateLayoutCommands::OpenDialog()
{
    return {"Load Plate Layout", kLayoutFilter, 1, "*.PLO", {}};
}

void PlateLayoutCommands::Sample11Click(int tag)
{
    const bool offeredNext = state_.layout.AssignSample(tag, page_.selection(), state_.samples.SampleCount);
    page_.refresh();
    if (offeredNext) {
        page_.rebuildPopupMenu();
        graph_.CheckPLSamples();
    }
}

void PlateLayoutCommands::SampleTyped(int number)
{
    if (number < 1 || number > kMaxWells)
        throw std::runtime_error("Sample numbers run from 1 to " + std::to_string(kMaxWells) + ".");
    state_.layout.AssignSample(number, page_.selection(), state_.samples.SampleCount);
    page_.refresh();
    page_.rebuildPopupMenu();
    graph_.CheckPLSamples();
}

void PlateLayoutCommands::Clear1Click()
{
    state_.layout.ClearCells(page_.selection());
    page_.refresh();
    graph_.CheckPLSamples();
}

void PlateLayoutCommands::SavePlateLayout1Click()
{
    QStringList lines;
    for (const std::string& line : PlateLayoutLines(state_.layout))
        lines.append(DataText(line));
    QPlainTextEdit& memo = page_.Memo1();
    memo.setPlainText(lines.join(QLatin1Char('\n')));

    const auto file = AskSaveFile(dialogs_, SaveDialog());
    if (!file)
        return;
    std::string text;
    for (const QString& line : memo.toPlainText().split(QLatin1Char('\n')))
        text += DataBytes(line) + "\r\n";
    SaveFileAtomically(*file, text);
}

std::optional<std::filesystem::path> PlateLayoutCommands::OpenPlateLayout1Click()
{
    const auto file = AskOpenFile(dialogs_, OpenDialog());
    if (file)
        OpenPlateLayoutFile(*file);
    return file;
}

void PlateLayoutCommands::OpenPlateLayoutFile(const std::filesystem::path& file)
{
    const TextLines lines = LoadTextLines(file, kMaxLayoutFileBytes);
    QStringList shown;
    for (std::size_t line = 0; line < lines.Count(); ++line)
        shown.append(DataText(std::string(lines.Line(line))));
    page_.Memo1().setPlainText(shown.join(QLatin1Char('\n')));
    ApplyPlateLayoutLines(lines, state_.layout);
    state_.layout.OfferSamplesInUse(state_.samples.SampleCount);
    page_.refresh();
    page_.rebuildPopupMenu();
    graph_.CheckPLSamples();
    QComboBox& chooser = graph_.page().SelectSample();
    if (chooser.count() > 0) {
        const QSignalBlocker quiet(chooser);
        chooser.setCurrentIndex(0);
    }
    graph_.SelectSampleChange();
}

} // namespace movra
