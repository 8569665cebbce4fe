// The string file reader: any bytes either are refused as a document or
// give every section's texts in both languages. The section checksums only
// decide whether a section passed (its texts are read either way), so they
// need no re-stamping for the fuzzer to reach the reading.
#include "fuzzinput.h"

#include "base/stringcatalog.h"
#include "base/stringdocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    const std::unique_ptr<StringDocument> doc = StringDocument::fromBytes(in.raw());
    if (!doc)
        return 0;
    const int language = in.variant(2);
    // The main section, one secondary section steered by the control byte,
    // and a message looked up by key as the other readers do.
    (void)doc->readSection(kMainSectionKey, language);
    const QStringList &secondary = secondarySectionKeys();
    (void)doc->readSection(secondary.at((in.control & 7) % secondary.size()), language);
    quint16 running = 0;
    (void)doc->ReadText(language, running, kMainSectionKey, messagePath(1 + in.control % kMessageCount));
    (void)doc->lookup(language, kMainSectionKey, QStringLiteral("A/B/C/D"));
    return 0;
}
