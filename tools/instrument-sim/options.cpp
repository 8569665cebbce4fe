#include "options.h"

#include <QStringList>

namespace sim {

namespace {

bool toInt(const QString &text, int minimum, int maximum, int &out)
{
    bool ok = false;
    const int v = text.toInt(&ok, 0);
    if (!ok || v < minimum || v > maximum)
        return false;
    out = v;
    return true;
}

} // namespace

QString helpText()
{
    return QStringLiteral("Usage: vardosk-instrument-sim [options]\n"
                          "Emulates the verification instrument on a pseudo-terminal. The first line on\n"
                          "standard output is the terminal's path; requests are served until SIGTERM/SIGINT.\n"
                          "\n"
                          "  --generation older|newer  protocol generation (default: from the model class)\n"
                          "  --model-class 0|1|2|3|5|6 model class (default 3); 0,1,2 older, 3,5,6 newer\n"
                          "  --records N               verifications in the generated archive (default 12)\n"
                          "  --points N                test points of every verification, 1..10\n"
                          "                            (default: varied 1..10 per verification)\n"
                          "  --power-types LIST        power types to cycle through per meter, e.g. 0,1,3\n"
                          "  --from-folder DIR         archive from the .pcn files below DIR instead\n"
                          "  --serial N                instrument serial number (default 1234)\n"
                          "  --baud RATE               pace answers like a line of RATE bit/s (10 bits a byte)\n"
                          "  --type-name TEXT          instrument type designation instead of the model's\n"
                          "  --version W1.W2           version words in hexadecimal instead of the model's\n"
                          "  --db-file FILE            keep the meter database in FILE (raw area)\n"
                          "  --verbose                 one line per request on standard error\n"
                          "  --fault KIND[:ARG]        inject a fault; may be repeated:\n"
                          "      no-answer:REQ              no answer to request REQ (1-based count)\n"
                          "      break-after:N[:REQ]        answer broken off after N bytes (request REQ, default 1)\n"
                          "      status-ff:REQ              answer 02 FF 00 00 + CRC to request REQ\n"
                          "      bad-crc:REQ                last CRC byte of the answer to REQ inverted\n"
                          "      bad-content-entry:K        archive-content entry K has one bit flipped\n"
                          "      bad-point-block:RECORD:POINT  point block POINT (1-based) of record RECORD damaged\n"
                          "      bad-date:K                 archive-content entry K carries month 0x13\n"
                          "      slow:MS                    wait MS milliseconds before every answer\n"
                          "  --help                    this text\n");
}

bool parseOptions(const QStringList &arguments, SimOptions &options, QString &error)
{
    bool modelClassGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString arg = arguments[i];
        const auto value = [&](QString &out) {
            if (i + 1 >= arguments.size()) {
                error = QStringLiteral("%1 needs a value").arg(arg);
                return false;
            }
            out = arguments[++i];
            return true;
        };
        const auto number = [&](int minimum, int maximum, int &out) {
            QString text;
            if (!value(text))
                return false;
            if (!toInt(text, minimum, maximum, out)) {
                error =
                    QStringLiteral("%1: \"%2\" is not a number from %3 to %4").arg(arg, text).arg(minimum).arg(maximum);
                return false;
            }
            return true;
        };
        QString text;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
        } else if (arg == QLatin1String("--verbose")) {
            options.verbose = true;
        } else if (arg == QLatin1String("--generation")) {
            if (!value(text))
                return false;
            if (text == QLatin1String("older"))
                options.generation = 0;
            else if (text == QLatin1String("newer"))
                options.generation = 1;
            else {
                error = QStringLiteral("--generation must be older or newer");
                return false;
            }
        } else if (arg == QLatin1String("--model-class")) {
            if (!number(0, 6, options.modelClass))
                return false;
            modelClassGiven = true;
            if (options.modelClass == 4) {
                error = QStringLiteral("--model-class must be 0, 1, 2, 3, 5 or 6");
                return false;
            }
        } else if (arg == QLatin1String("--records")) {
            if (!number(0, 480, options.scenario.records))
                return false;
        } else if (arg == QLatin1String("--points")) {
            if (!number(1, 10, options.scenario.points))
                return false;
        } else if (arg == QLatin1String("--power-types")) {
            if (!value(text))
                return false;
            options.scenario.powerTypes.clear();
            for (const QString &part : text.split(QLatin1Char(','))) {
                int v = 0;
                if (!toInt(part.trimmed(), 0, 7, v)) {
                    error = QStringLiteral("--power-types: \"%1\" is not a power type 0..7").arg(part);
                    return false;
                }
                options.scenario.powerTypes.append(v);
            }
        } else if (arg == QLatin1String("--from-folder")) {
            if (!value(options.fromFolder))
                return false;
        } else if (arg == QLatin1String("--serial")) {
            if (!number(0, 65535, options.serial))
                return false;
        } else if (arg == QLatin1String("--baud")) {
            if (!number(50, 4000000, options.baud))
                return false;
        } else if (arg == QLatin1String("--fault")) {
            if (!value(text) || !options.faults.add(text, error))
                return false;
        } else if (arg == QLatin1String("--db-file")) {
            if (!value(options.dbFile))
                return false;
        } else if (arg == QLatin1String("--type-name")) {
            if (!value(options.typeName))
                return false;
        } else if (arg == QLatin1String("--version")) {
            if (!value(text))
                return false;
            const QStringList words = text.split(QLatin1Char('.'));
            bool ok1 = false, ok2 = false;
            if (words.size() == 2) {
                options.version1 = int(words[0].toUInt(&ok1, 16));
                options.version2 = int(words[1].toUInt(&ok2, 16));
            }
            if (!ok1 || !ok2 || options.version1 > 0xFFFF || options.version2 > 0xFFFF) {
                error = QStringLiteral("--version must be two hexadecimal words, e.g. 72.1");
                return false;
            }
        } else {
            error = QStringLiteral("unknown option \"%1\" (see --help)").arg(arg);
            return false;
        }
    }
    if (!modelClassGiven && options.generation >= 0)
        options.modelClass = options.generation == 1 ? 3 : 0;
    const bool newerClass = options.modelClass >= 3;
    if (options.generation >= 0 && (options.generation == 1) != newerClass) {
        error = QStringLiteral("model class %1 belongs to the %2 generation")
                    .arg(options.modelClass)
                    .arg(newerClass ? QStringLiteral("newer") : QStringLiteral("older"));
        return false;
    }
    return true;
}

} // namespace sim
