#pragma once
// Texts of the data (imported files, layout files, grid cells, the clipboard)
// are single-byte strings in the platform's Western encoding; the windows
// show them through these two conversions and nowhere else, so a byte such
// as 0xA1 in a file's temperature caption shows and copies as itself.

#include <QString>

#include <string>

namespace movra {

inline QString DataText(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string DataBytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

} // namespace movra
