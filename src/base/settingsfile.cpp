#include "settingsfile.h"

#include "platform.h"
#include "base/checksum.h"

#include <QFile>

namespace {

constexpr int kCodesOffset[kGridCount] = {18, 40, 72};

int readWord(const QByteArray &raw, int offset)
{
    return static_cast<std::uint8_t>(raw[offset]) | (static_cast<std::uint8_t>(raw[offset + 1]) << 8);
}

void writeWord(QByteArray &raw, int offset, int value)
{
    raw[offset] = static_cast<char>(value & 0xFF);
    raw[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
}

std::uint8_t byteAt(const QByteArray &raw, int offset)
{
    return static_cast<std::uint8_t>(raw[offset]);
}

constexpr int kMinimumSplitterSize = 50;

} // namespace

AppSettings defaultSettings()
{
    AppSettings settings;
    for (int g = 0; g < kGridCount; ++g)
        settings.columns[g] = defaultGridColumns(static_cast<GridKind>(g));
    return settings;
}

AppSettings parseSettings(const QByteArray &input)
{
    QByteArray raw = input.left(kSettingsFileSize);
    raw.append(QByteArray(kSettingsFileSize - raw.size(), '\0'));
    if (!IsBlockValid(raw))
        return defaultSettings();

    AppSettings s; // construction defaults; columns come from the record
    s.takenFromFile = true;
    for (int g = 0; g < kGridCount; ++g) {
        const int count = kGridColumnCount[g];
        for (int i = 0; i < count; ++i) {
            s.columns[g].codes.append(byteAt(raw, kCodesOffset[g] + i));
            s.columns[g].visible.append(byteAt(raw, kCodesOffset[g] + count + i) != 0);
        }
    }

    WindowLayout &w = s.layout;
    w.left = readWord(raw, 2);
    if (w.left < 0 || w.left > 1000)
        w.left = 0;
    w.top = readWord(raw, 0);
    if (w.top < 0 || w.top > 760)
        w.top = 0;
    w.width = readWord(raw, 4);
    w.height = readWord(raw, 6);
    if (readWord(raw, 8) >= kMinimumSplitterSize)
        w.folderPanelWidth = readWord(raw, 8);
    w.upperAreaHeight = readWord(raw, 10) >= kMinimumSplitterSize ? readWord(raw, 10) : 315;
    w.meterListHeight = readWord(raw, 12) >= kMinimumSplitterSize ? readWord(raw, 12) : 169;

    if (byteAt(raw, 15) < 2)
        s.interfaceType = byteAt(raw, 15);
    if (byteAt(raw, 16) < kPortCount)
        s.portIndex = byteAt(raw, 16);
    if (byteAt(raw, 17) < static_cast<int>(kRates.size()))
        s.rateIndex = byteAt(raw, 17);
    const std::uint8_t language = byteAt(raw, 14);
    s.language =
        (language == LanguageRussian || language == LanguageEnglish) ? language : std::uint8_t(LanguageEnglish);
    return s;
}

QByteArray encodeSettings(const AppSettings &s)
{
    QByteArray raw(kSettingsFileSize, '\0');
    writeWord(raw, 0, s.layout.top);
    writeWord(raw, 2, s.layout.left);
    writeWord(raw, 4, s.layout.width);
    writeWord(raw, 6, s.layout.height);
    writeWord(raw, 8, s.layout.folderPanelWidth);
    writeWord(raw, 10, s.layout.upperAreaHeight);
    writeWord(raw, 12, s.layout.meterListHeight);
    raw[14] = static_cast<char>(s.language);
    raw[15] = static_cast<char>(s.interfaceType);
    raw[16] = static_cast<char>(s.portIndex & 0xFF);
    raw[17] = static_cast<char>(s.rateIndex & 0xFF);
    for (int g = 0; g < kGridCount; ++g) {
        const int count = kGridColumnCount[g];
        const GridColumns &c = s.columns[g];
        for (int i = 0; i < count && i < c.codes.size(); ++i)
            raw[kCodesOffset[g] + i] = static_cast<char>(c.codes[i]);
        for (int i = 0; i < count && i < c.visible.size(); ++i)
            raw[kCodesOffset[g] + count + i] = c.visible[i] ? 1 : 0;
    }
    StoreChecksum(reinterpret_cast<std::uint8_t *>(raw.data()), kSettingsFileSize - 2);
    return raw;
}

AppSettings loadSettingsFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return defaultSettings();
    return parseSettings(file.read(kSettingsFileSize));
}

bool saveSettingsFile(const QString &path, const AppSettings &settings)
{
    return platform::writeFileAtomically(path, encodeSettings(settings), false);
}
