#include "app/atomic_file_save.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <string>
#include <system_error>

namespace movra {

namespace {

[[noreturn]] void Refuse(const QString& path, const QString& reason)
{
    throw FileSaveError("Cannot create file \"" + path.toStdString() + "\". " + reason.toStdString());
}

// Everything is written, or the reason why not. The file is unbuffered and
// a short write is followed by another: on a full disk the first write
// stores what fits without an error, and only the next one fails with the
// system's reason (otherwise the message would say "Unknown error").
template <typename File>
void WriteAll(File& file, const QString& name, std::string_view bytes)
{
    while (!bytes.empty()) {
        const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (written <= 0)
            Refuse(name, file.errorString());
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (!file.flush())
        Refuse(name, file.errorString());
}

// A device (a terminal, /dev/full) cannot be replaced by a rename, which
// would put a plain file in its place: it is written in place.
void WriteDevice(const QString& name, std::string_view bytes)
{
    QFile device(name);
    if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        Refuse(name, device.errorString());
    WriteAll(device, name, bytes);
    device.close();
    if (device.error() != QFileDevice::NoError)
        Refuse(name, device.errorString());
}

} // namespace

void SaveFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    const QString name = QString::fromStdString(path.string());
    std::error_code ignored;
    const auto status = std::filesystem::status(path, ignored);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        if (std::filesystem::is_directory(status))
            Refuse(name, QStringLiteral("It is a folder."));
        WriteDevice(name, bytes);
        return;
    }

    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        Refuse(name, file.errorString());
    try {
        WriteAll(file, name, bytes);
    } catch (const FileSaveError&) {
        file.cancelWriting();
        throw;
    }
    if (!file.commit())
        Refuse(name, file.errorString());
}

} // namespace movra
