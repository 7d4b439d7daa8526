// Fuzz target for the SpectraMax import: the input after its first byte is
// the file, decoded as files are; the first byte scripts the answers (merge
// Yes/No/Cancel, time offset typed, cancelled or not a number). The import
// must return a plate or throw ImportError / ConversionError, and a plate it
// returns must hold finite x values and readings for every read it counts.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "plate/import_errors.h"
#include "plate/import_interaction.h"
#include "plate/sm_import.h"
#include "plate/text_decoding.h"
#include "plate/text_lines.h"
#include "shared/conversion.h"

namespace {

class ScriptedInteraction final : public movra::ImportInteraction {
public:
    explicit ScriptedInteraction(std::uint8_t script) : script_(script) {}

    movra::MergeAnswer AskMergeBlocks(std::string_view) override
    {
        switch (script_ % 3) {
        case 0: return movra::MergeAnswer::Yes;
        case 1: return movra::MergeAnswer::No;
        default: return movra::MergeAnswer::Cancel;
        }
    }
    std::optional<std::string> AskTimeOffset(std::string_view, std::string_view, std::string_view) override
    {
        switch ((script_ / 3) % 5) {
        case 0: return std::string("0");
        case 1: return std::nullopt;
        case 2: return std::string("1,5");
        case 3: return std::string("-2.25E1");
        default: return std::string("abc");
        }
    }
    void ShowProgress() override
    {
        if (shown_) __builtin_trap();
        shown_ = true;
    }
    void SetProgress(int percent) override
    {
        if (!shown_ || percent < 0 || percent > 100) __builtin_trap();
    }
    void HideProgress() override
    {
        if (!shown_) __builtin_trap();
        shown_ = false;
    }
    bool ProgressShown() const noexcept { return shown_; }

private:
    std::uint8_t script_;
    bool shown_ = false;
};

void CheckPlate(const movra::ImportedPlate& imported)
{
    const movra::PlateMeasurements& plate = imported.plate;
    if (plate.WellCount != 96 && plate.WellCount != 384) __builtin_trap();
    const auto reads = static_cast<std::size_t>(plate.TimePointCount);
    const auto columns = static_cast<std::size_t>(plate.WaveLengthCount) * static_cast<std::size_t>(plate.WellCount) + 2;
    if (plate.PlateData.size() != columns) __builtin_trap();
    for (std::size_t column = 0; column < columns; ++column) {
        if (column == 1) continue;  // temperatures are checked below with the rest
        if (plate.PlateData[column].size() < reads) __builtin_trap();
    }
    for (std::size_t read = 0; read < reads; ++read) {
        for (std::size_t column = 0; column < columns; ++column)
            if (!std::isfinite(plate.PlateData[column][read])) __builtin_trap();
        if (plate.TimeVector[read + 1] != plate.PlateData[0][read]) __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    ScriptedInteraction interaction(data[0]);
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const movra::TextLines lines(movra::DecodeText(std::move(bytes)));
    try {
        const auto imported = movra::ImportSMText(lines, interaction);
        if (imported) {
            CheckPlate(*imported);
            (void)movra::DescribePlate(*imported);
        }
    } catch (const movra::ImportError&) {
    } catch (const movra::ConversionError&) {
    }
    if (interaction.ProgressShown()) __builtin_trap();
    return 0;
}
