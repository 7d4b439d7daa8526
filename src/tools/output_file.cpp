#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace movra {
namespace {

[[noreturn]] void Refuse(const std::filesystem::path& path, int error)
{
    throw OutputError("Cannot write file \"" + path.string() + "\": " + std::strerror(error) + ".");
}

// Closes the descriptor on every path; Close() reports the close's own error.
class Descriptor {
public:
    explicit Descriptor(int fd) noexcept : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const noexcept { return fd_; }
    int Close() noexcept
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// 0 when everything was written, else the errno of the failed write.
int WriteAll(int fd, std::string_view bytes) noexcept
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

void WriteInPlace(const std::filesystem::path& path, std::string_view bytes)
{
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (file.Get() < 0) Refuse(path, errno);
    if (const int error = WriteAll(file.Get(), bytes)) Refuse(path, error);
    if (file.Close() != 0) Refuse(path, errno);
}

mode_t NewFileMode() noexcept
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

void WriteOutputFile(const std::filesystem::path& requested, std::string_view bytes)
{
    std::error_code ignored;
    std::filesystem::path path = requested;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, ignored))) {
        const auto target = std::filesystem::canonical(path, ignored);
        if (!ignored) path = target;
    }
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) Refuse(requested, EISDIR);
    if (exists && !S_ISREG(existing.st_mode)) {
        WriteInPlace(path, bytes);
        return;
    }

    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string temporary = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    Descriptor file(::mkstemp(temporary.data()));
    if (file.Get() < 0) Refuse(requested, errno);
    int error = WriteAll(file.Get(), bytes);
    if (error == 0 && ::fchmod(file.Get(), exists ? existing.st_mode & 07777 : NewFileMode()) != 0) error = errno;
    if (error == 0 && ::fsync(file.Get()) != 0) error = errno;
    if (error == 0 && file.Close() != 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        Refuse(requested, error);
    }
}

void WriteOutputStream(std::ostream& out, std::string_view bytes)
{
    errno = 0;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (out) return;
    const int error = errno;
    throw OutputError(error != 0 ? "Cannot write to standard output: " + std::string(std::strerror(error)) + "."
                                 : std::string("Cannot write to standard output."));
}

} // namespace movra
