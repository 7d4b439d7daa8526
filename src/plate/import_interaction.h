#pragma once
// What the import asks the user and tells them while it reads: the merge
// question, the time offset and the progress window. The desktop program
// answers with dialogs; tools and tests answer from a script. Every call
// happens on the caller's thread, in the order the import needs them.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace movra {

enum class MergeAnswer { Yes, No, Cancel };

inline constexpr const char* kMergeBlocksQuestion = "File contains more than one block. Merge blocks?";
inline constexpr const char* kTimeOffsetCaption = "Time offset";
inline constexpr const char* kTimeOffsetPrompt = "type time offset in hours";
inline constexpr const char* kTimeOffsetDefault = "0";

class ImportInteraction {
public:
    virtual ~ImportInteraction() = default;

    // A Yes/No/Cancel confirmation; text is kMergeBlocksQuestion.
    virtual MergeAnswer AskMergeBlocks(std::string_view text) = 0;

    // An input box; returns the typed text, or nullopt when cancelled (the
    // import then uses defaultText).
    virtual std::optional<std::string> AskTimeOffset(std::string_view caption, std::string_view prompt,
                                                     std::string_view defaultText) = 0;

    // The progress window: shown once at 0, moved to 0..100, hidden once at
    // the end (also when the import ends through an error).
    virtual void ShowProgress() = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void HideProgress() = 0;
};

// Answers without asking: merge blocks, no time offset, no progress shown.
class SilentImportInteraction : public ImportInteraction {
public:
    explicit SilentImportInteraction(MergeAnswer merge = MergeAnswer::Yes, std::string timeOffset = "0")
        : merge_(merge), timeOffset_(std::move(timeOffset))
    {
    }
    MergeAnswer AskMergeBlocks(std::string_view) override { return merge_; }
    std::optional<std::string> AskTimeOffset(std::string_view, std::string_view, std::string_view) override
    {
        return timeOffset_;
    }
    void ShowProgress() override {}
    void SetProgress(int) override {}
    void HideProgress() override {}

private:
    MergeAnswer merge_;
    std::string timeOffset_;
};

} // namespace movra
