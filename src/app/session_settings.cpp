#include "app/session_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <cmath>

namespace movra {

namespace {

// The key of app/form_position.cpp: organisation "MOVRA", no application.
QSettings OpenMovraKey()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("MOVRA"));
}

QString Native(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

// Limits are kept as numbers written with "." whatever the locale.
bool ReadLimits(const QStringList& texts, std::array<double, 8>& limits)
{
    if (texts.size() != static_cast<qsizetype>(limits.size())) return false;
    for (std::size_t k = 0; k < limits.size(); ++k) {
        bool ok = false;
        limits[k] = texts.at(static_cast<qsizetype>(k)).toDouble(&ok);
        if (!ok || !std::isfinite(limits[k])) return false;
    }
    return true;
}

QStringList WriteLimits(const std::array<double, 8>& limits)
{
    QStringList texts;
    for (double limit : limits) texts.append(QString::number(limit, 'g', 17));
    return texts;
}

} // namespace

std::filesystem::path LastFolder()
{
    const QString folder = OpenMovraKey().value(QStringLiteral("Files/LastFolder")).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return {};
    return folder.toStdString();
}

void RememberFolderOf(const std::filesystem::path& file)
{
    QSettings settings = OpenMovraKey();
    settings.setValue(QStringLiteral("Files/LastFolder"), QFileInfo(Native(file)).absolutePath());
    settings.sync();
}

std::optional<std::filesystem::path> AskOpenFile(UserDialogs& dialogs, FileDialogRequest request)
{
    request.directory = LastFolder();
    auto file = dialogs.OpenFile(request);
    if (file) RememberFolderOf(*file);
    return file;
}

std::optional<std::filesystem::path> AskSaveFile(UserDialogs& dialogs, FileDialogRequest request)
{
    request.directory = LastFolder();
    auto file = dialogs.SaveFile(request);
    if (file) RememberFolderOf(*file);
    return file;
}

QStringList RecentFiles()
{
    QStringList files = OpenMovraKey().value(QStringLiteral("Files/Recent")).toStringList();
    files.removeAll(QString());
    while (files.size() > kRecentFileCount) files.removeLast();
    return files;
}

QStringList AddRecentFile(const std::filesystem::path& file)
{
    const QString path = QDir::cleanPath(QFileInfo(Native(file)).absoluteFilePath());
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentFileCount) files.removeLast();
    QSettings settings = OpenMovraKey();
    settings.setValue(QStringLiteral("Files/Recent"), files);
    settings.sync();
    return files;
}

std::optional<FitSession> LoadFitSession()
{
    QSettings settings = OpenMovraKey();
    settings.beginGroup(QStringLiteral("Fit"));
    FitSession session;
    session.formula = settings.value(QStringLiteral("Formula")).toString();
    const QStringList starts = settings.value(QStringLiteral("StartValues")).toStringList();
    session.tolerance = settings.value(QStringLiteral("Tolerance")).toString();
    session.maxIterations = settings.value(QStringLiteral("MaxIterations")).toString();
    if (session.formula.isEmpty() || starts.size() != 8 || session.tolerance.isEmpty() ||
        session.maxIterations.isEmpty())
        return std::nullopt;
    for (qsizetype k = 0; k < 8; ++k) session.startValues[static_cast<std::size_t>(k)] = starts.at(k);
    std::array<double, 8> lower{};
    std::array<double, 8> upper{};
    if (ReadLimits(settings.value(QStringLiteral("LowerLimits")).toStringList(), lower) &&
        ReadLimits(settings.value(QStringLiteral("UpperLimits")).toStringList(), upper)) {
        session.lowerLimits = lower;
        session.upperLimits = upper;
    }
    const QStringList fixed = settings.value(QStringLiteral("Fixed")).toStringList();
    if (fixed.size() == 8)
        for (qsizetype k = 0; k < 8; ++k)
            session.fixed[static_cast<std::size_t>(k)] = fixed.at(k) == QStringLiteral("1");
    return session;
}

void SaveFitSession(const FitSession& session)
{
    QSettings settings = OpenMovraKey();
    settings.beginGroup(QStringLiteral("Fit"));
    settings.setValue(QStringLiteral("Formula"), session.formula);
    settings.setValue(QStringLiteral("StartValues"),
                      QStringList(session.startValues.begin(), session.startValues.end()));
    settings.setValue(QStringLiteral("Tolerance"), session.tolerance);
    settings.setValue(QStringLiteral("MaxIterations"), session.maxIterations);
    settings.setValue(QStringLiteral("LowerLimits"), WriteLimits(session.lowerLimits));
    settings.setValue(QStringLiteral("UpperLimits"), WriteLimits(session.upperLimits));
    QStringList fixed;
    for (bool tick : session.fixed) fixed.append(tick ? QStringLiteral("1") : QStringLiteral("0"));
    settings.setValue(QStringLiteral("Fixed"), fixed);
    settings.endGroup();
    settings.sync();
}

} // namespace movra
