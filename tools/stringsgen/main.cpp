// vardosk-stringsgen: writes DataStrings.xml from the text catalogue.
//
//   vardosk-stringsgen OUTPUT.xml      write the string file
//   vardosk-stringsgen --check FILE    read every section of FILE in both
//                                      languages and report its checksum
//
// Exit status: 0 success, 1 usage, 2 file not written or check failed.
#include "base/stringcatalog.h"
#include "base/stringdocument.h"
#include "base/stringfilewriter.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

int check(const QString &path)
{
    const auto doc = StringDocument::load(path);
    if (!doc) {
        std::fprintf(stderr, "%s: missing, unreadable or not well-formed\n", qPrintable(path));
        return 2;
    }
    QStringList sections{kMainSectionKey};
    sections += secondarySectionKeys();
    bool allOk = true;
    for (const QString &section : sections) {
        for (int language : {0, 1}) {
            const SectionTexts texts = doc->readSection(section, language);
            allOk = allOk && texts.ok;
            std::printf("%-20s %s %s\n", qPrintable(section), language == 0 ? "Rus" : "Eng",
                        texts.ok ? "ok" : "FAILED");
        }
    }
    return allOk ? 0 : 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args.at(0) == QLatin1String("--check"))
        return check(args.at(1));
    if (args.size() != 1 || args.at(0).startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: vardosk-stringsgen OUTPUT.xml | --check FILE\n");
        return 1;
    }
    QString error;
    if (!writeStringFile(args.at(0), catalogItems(), catalogExtraElements(), &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args.at(0)), qPrintable(error));
        return 2;
    }
    return 0;
}
