// Report files (.QRP): any bytes are refused with a reason or give pages
// (a rich text that names an image, link or style sheet is refused);
// the pages written back read as the same pages and are written to the same
// bytes again.
#include "fuzzinput.h"

#include "reports/reportfile.h"

#include <QGuiApplication>

namespace {

// The header keeps the payload's length at offset 12 (u32, little-endian)
// and its checksum at offset 16 (high byte first), in front of the payload
// that starts at offset 18. Re-stamping both lets mutated payloads reach the
// decoding behind the checksum test.
constexpr std::size_t kHeaderBytes = 18;

void restampHeader(std::uint8_t *data, std::size_t size)
{
    if (size < kHeaderBytes)
        return;
    const std::size_t payload = size - kHeaderBytes;
    for (int i = 0; i < 4; ++i)
        data[12 + i] = std::uint8_t(payload >> (8 * i));
    const std::uint16_t crc = RecordChecksum(data + kHeaderBytes, payload);
    data[16] = std::uint8_t(crc >> 8);
    data[17] = std::uint8_t(crc);
}

} // namespace

// The reader lays rich texts out to see what they reach; text layout needs
// the GUI application, here without a screen.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    if (in.restamp())
        restampHeader(in.bytes.get(), in.size);
    report::ReportPages pages;
    if (report::decodeReportFile(in.raw(), pages) != report::ReportFileError::None)
        return 0;
    const QByteArray written = report::encodeReportFile(pages);
    report::ReportPages back;
    fuzz::check(report::decodeReportFile(written, back) == report::ReportFileError::None,
                "a written report file does not read");
    fuzz::check(report::encodeReportFile(back) == written, "a report file changes on a second rewrite");
    return 0;
}
