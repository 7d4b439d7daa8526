#pragma once
// What tests in several folders share: files written and read back in a
// temporary folder of this test process's own, removed when it ends; writes
// that fail half-way; and the message of an expected error.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace movra::test {

inline std::string FileText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

inline std::filesystem::path WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A path in a folder that no other test process uses, removed with
// everything in it when this process ends.
inline std::filesystem::path Scratch(const std::string& name)
{
    static const struct Folder {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("movra-tests-" + std::to_string(::getpid()));
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() { std::error_code ignored; std::filesystem::remove_all(path, ignored); }
    } folder;
    return folder.path / name;
}

// Runs act while the process may write no more than 16 bytes into any file,
// so that a save fails half-way.
inline void WithFileSizeLimit(const std::function<void()>& act)
{
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    act();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
}

// An empty folder of its own for one test, removed with everything in it
// when the test ends.
struct ScratchFolder {
    explicit ScratchFolder(const std::string& name) : path(Scratch(name))
    {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    std::filesystem::path operator/(const std::string& name) const { return path / name; }
    std::filesystem::path path;
};

// The message of the Error the action throws, or "no error".
template <class Error, class Action>
std::string MessageOf(const Action& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

} // namespace movra::test
