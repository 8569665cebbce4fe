#include "settingsstore.h"

void SettingsStore::replace(const AppSettings &values)
{
    m_values = values;
    emit changed();
}

void SettingsStore::setLanguage(int language)
{
    if (m_values.language == language)
        return;
    m_values.language = static_cast<std::uint8_t>(language);
    emit changed();
}

void SettingsStore::setConnection(int interfaceType, int portIndex, int rateIndex)
{
    m_values.runPortPath.clear();
    m_values.interfaceType = static_cast<std::uint8_t>(interfaceType);
    m_values.portIndex = portIndex;
    m_values.rateIndex = rateIndex;
    emit changed();
}

void SettingsStore::setRunPortPath(const QString &path)
{
    m_values.runPortPath = path;
    emit changed();
}

void SettingsStore::setLayout(const WindowLayout &layout)
{
    m_values.layout = layout;
    emit changed();
}
