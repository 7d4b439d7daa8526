#pragma once
// What tests in several folders share: files written and read back in the
// temporary folder, under names no other test process uses and removed when
// the test ends, and the message of an expected error.

#include <unistd.h>

#include <filesystem>
#include <fstream>
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

// A path in the temporary folder that no other test process uses.
inline std::filesystem::path Scratch(const std::string& name)
{
    return std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "-movra-" + name);
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
