// config.cfg: any 0..130 bytes give settings; the settings written back
// read as the same settings and are written back to the same bytes.
#include "fuzzinput.h"

#include "base/settingsfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    if (in.restamp() && in.size == std::size_t(kSettingsFileSize))
        fuzz::seal(in.bytes.get(), in.size, 0, kSettingsFileSize - 2);
    const AppSettings first = parseSettings(in.raw());
    const QByteArray written = encodeSettings(first);
    fuzz::check(written.size() == kSettingsFileSize, "settings written in a wrong size");
    const AppSettings second = parseSettings(written);
    fuzz::check(second.takenFromFile, "written settings are not taken back");
    fuzz::check(encodeSettings(second) == written, "settings change on a second rewrite");
    return 0;
}
