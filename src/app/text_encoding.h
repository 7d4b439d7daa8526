#pragma once
// Texts of the data (imported files, layout files, grid cells, the clipboard)
// are UTF-8 strings in the core (the import decodes the instrument's
// encodings); the windows show and take them through these two conversions
// and nowhere else.

#include <QString>

#include <string>

namespace movra {

inline QString DataText(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string DataBytes(const QString& text)
{
    return text.toUtf8().toStdString();
}

} // namespace movra
