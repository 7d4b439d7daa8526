#include "app/form_position.h"

#include <QSettings>
#include <QString>

#include "shared/conversion.h"

namespace movra {

namespace {

// Organisation "MOVRA" without an application name: the per-user store's
// key MOVRA (MOVRA.conf on Unix, HKCU\Software\MOVRA on Windows).
QSettings OpenMovraKey()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("MOVRA"));
}

int ReadDecimal(const QSettings& settings, const QString& name)
{
    const QVariant value = settings.value(name);
    if (!value.isValid())
        return 0;
    try {
        return StrToInt(value.toString().toStdString());
    } catch (const ConversionError&) {
        return 0;
    }
}

} // namespace

QPoint LoadFormPosition()
{
    QSettings settings = OpenMovraKey();
    settings.beginGroup(QStringLiteral("Form"));
    const int top = ReadDecimal(settings, QStringLiteral("Top"));
    const int left = ReadDecimal(settings, QStringLiteral("Left"));
    return {left, top};
}

void SaveFormPosition(QPoint topLeft)
{
    QSettings settings = OpenMovraKey();
    settings.beginGroup(QStringLiteral("Form"));
    settings.setValue(QStringLiteral("Top"), QString::number(topLeft.y()));
    settings.setValue(QStringLiteral("Left"), QString::number(topLeft.x()));
    settings.endGroup();
    settings.sync();
}

} // namespace movra
