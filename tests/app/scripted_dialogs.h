#pragma once
// UserDialogs for tests: answers come from queues filled by the test (an
// empty queue answers Cancel), and every request is recorded so the test can
// check titles, texts and order.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/user_dialogs.h"

namespace movra::test {

class ScriptedDialogs final : public UserDialogs {
public:
    std::deque<DialogAnswer> answers;
    std::deque<std::optional<std::string>> inputs;
    std::deque<std::optional<std::filesystem::path>> files;

    struct Input {
        std::string caption, prompt, defaultText;
    };
    std::vector<std::string> errors, questions;
    std::vector<Input> inputRequests;
    std::vector<FileDialogRequest> openRequests, saveRequests;

    void ShowError(const std::string& text) override { errors.push_back(text); }
    DialogAnswer AskYesNoCancel(const std::string& text) override
    {
        questions.push_back(text);
        return Take(answers).value_or(DialogAnswer::Cancel);
    }
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& defaultText) override
    {
        inputRequests.push_back({caption, prompt, defaultText});
        return Take(inputs).value_or(std::nullopt);
    }
    std::optional<std::filesystem::path> OpenFile(const FileDialogRequest& request) override
    {
        openRequests.push_back(request);
        return Take(files).value_or(std::nullopt);
    }
    std::optional<std::filesystem::path> SaveFile(const FileDialogRequest& request) override
    {
        saveRequests.push_back(request);
        return Take(files).value_or(std::nullopt);
    }

private:
    template <typename T>
    static std::optional<T> Take(std::deque<T>& queue)
    {
        if (queue.empty()) return std::nullopt;
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

} // namespace movra::test
