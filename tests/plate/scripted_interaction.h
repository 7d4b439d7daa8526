#pragma once
// An ImportInteraction that answers from a script and records what the
// import asked and reported, for tests.

#include <optional>
#include <string>
#include <vector>

#include "plate/import_interaction.h"

namespace movra::test {

class ScriptedInteraction : public ImportInteraction {
public:
    MergeAnswer mergeAnswer = MergeAnswer::Yes;
    std::optional<std::string> timeOffsetAnswer = std::string("0");

    int mergeQuestions = 0;
    std::string mergeText;
    int timeOffsetQuestions = 0;
    std::string caption, prompt, defaultText;
    int shown = 0;
    int hidden = 0;
    std::vector<int> progress;

    MergeAnswer AskMergeBlocks(std::string_view text) override
    {
        ++mergeQuestions;
        mergeText = text;
        return mergeAnswer;
    }
    std::optional<std::string> AskTimeOffset(std::string_view c, std::string_view p, std::string_view d) override
    {
        ++timeOffsetQuestions;
        caption = c;
        prompt = p;
        defaultText = d;
        return timeOffsetAnswer;
    }
    void ShowProgress() override { ++shown; }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void HideProgress() override { ++hidden; }
};

} // namespace movra::test
