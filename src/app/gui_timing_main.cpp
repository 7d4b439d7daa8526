// movra_gui_timing: how long the desktop program takes to show a big plate.
// Writes a 384-well, 4-wavelength, 500-read kinetic file, then measures in
// one run: the core import alone (the baseline: read the file, ImportSMText),
// File > Import up to the painted review grid and raw text box, the memory it
// adds, and "Copy All" of the review grid. Prints times and their ratios to
// the baseline. Run it on the offscreen platform.

#include <QApplication>
#include <QClipboard>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "app/command_guard.h"
#include "app/data_review_page.h"
#include "app/program_windows.h"
#include "app/user_dialogs.h"
#include "plate/sm_import.h"
#include "plate/synthetic_plate.h"
#include "plate/text_decoding.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// Resident memory of the process in MiB (Linux), 0 elsewhere.
double ResidentMiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kib = 0;
            status >> kib;
            return kib / 1024.0;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

class Answers final : public movra::UserDialogs {
public:
    void ShowError(const std::string& text) override { std::cerr << "error: " << text << '\n'; }
    movra::DialogAnswer AskYesNoCancel(const std::string&) override { return movra::DialogAnswer::Yes; }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string& text) override
    {
        return text;
    }
    std::optional<std::filesystem::path> OpenFile(const movra::FileDialogRequest&) override { return file; }
    std::optional<std::filesystem::path> SaveFile(const movra::FileDialogRequest&) override { return std::nullopt; }
    std::filesystem::path file;
};

void Settle()
{
    for (int round = 0; round < 3; ++round) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());

    movra::SyntheticPlateOptions options;
    options.wellCount = 384;
    options.waveLengths = {340, 405, 450, 490};
    options.reads = 500;
    options.intervalSeconds = 30;
    options.seed = 384;
    const std::filesystem::path file = std::filesystem::path(folder.path().toStdString()) / "big-384x4x500.txt";
    const std::string text = movra::WriteSyntheticPlate(options);
    std::ofstream(file, std::ios::binary) << text;
    std::printf("file: 384 wells, 4 wavelengths, 500 reads, %.1f MiB\n", double(text.size()) / (1 << 20));

    // Baseline: the core import alone.
    auto start = Clock::now();
    movra::SilentImportInteraction silent(movra::MergeAnswer::Yes, "0");
    const auto imported = movra::ImportSMText(movra::LoadTextLines(file), silent);
    const double coreSeconds = Seconds(start);
    if (!imported) {
        std::cerr << "the big plate was not imported\n";
        return 1;
    }

    Answers answers;
    answers.file = file;
    movra::ProgramWindows windows(answers);
    movra::MainWindow& form = windows.Form1();
    form.show();
    Settle();
    const double memoryBefore = ResidentMiB();

    start = Clock::now();
    movra::RunCommand(answers, [&form] { form.Import1Click(); });
    Settle();  // the grid and the raw text box painted
    const double importSeconds = Seconds(start);
    const double memoryAfter = ResidentMiB();

    movra::DataReviewPage& review = form.dataReviewPage();
    start = Clock::now();
    review.StringGrid1().scrollToBottom();
    Settle();
    const double scrollSeconds = Seconds(start);

    start = Clock::now();
    review.CopytoExcel1Click();
    const double copySeconds = Seconds(start);
    const auto copied = QGuiApplication::clipboard()->text().size();

    std::printf("core import (baseline)          %8.3f s\n", coreSeconds);
    std::printf("File > Import to painted grid   %8.3f s  (%.2f x baseline)\n", importSeconds,
                importSeconds / coreSeconds);
    std::printf("scroll to the last read         %8.3f s\n", scrollSeconds);
    std::printf("Copy All (%lld characters)   %8.3f s  (%.2f x baseline)\n", static_cast<long long>(copied),
                copySeconds, copySeconds / coreSeconds);
    std::printf("resident memory: %.1f MiB before, %.1f MiB after the import (+%.1f MiB)\n", memoryBefore,
                memoryAfter, memoryAfter - memoryBefore);
    return 0;
}
