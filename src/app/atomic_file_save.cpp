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

// Everything is written, or the reason why not.
template <typename File>
void WriteAll(File& file, const QString& name, std::string_view bytes)
{
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size || !file.flush())
        Refuse(name, file.errorString());
}

// A device (a terminal, /dev/full) cannot be replaced by a rename, which
// would put a plain file in its place: it is written in place.
void WriteDevice(const QString& name, std::string_view bytes)
{
    QFile device(name);
    if (!device.open(QIODevice::WriteOnly))
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
    if (!file.open(QIODevice::WriteOnly))
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
