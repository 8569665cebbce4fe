// vardosk-cli meterdb: the meter database without a window.
//   show FILE.bdc        one JSON line per entry
//   read --out FILE.bdc  the instrument's ten entries into a file
//   write FILE.bdc       a file of exactly ten entries into the instrument,
//                        behind the access password (--password-stdin)
// read and write exit with the device result code and print its message on
// standard error when it is not 0; a refused command line or file gives 2
// (show: 1 for a refused file), before anything is sent.
#include "clipassword.h"
#include "commands.h"
#include "connectionargs.h"

#include "base/stringcatalog.h"
#include "device/connection.h"
#include "deviceoutcome/status.h"
#include "deviceoutcome/outcometext.h"
#include "meterdb/bdcfile.h"
#include "meterdb/meterbasetransfer.h"
#include "records/metertype.h"
#include "jsonwriter.h"

#include <QTextStream>

namespace {

constexpr int kEnglish = 1;

QString englishMessage(const QString &key)
{
    return catalogDefault(kMainSectionKey, kMessageGroup + QLatin1Char('/') + key, kEnglish);
}

int usage(const QString &problem)
{
    QTextStream(stderr)
        << problem
        << "\nusage: vardosk-cli meterdb show FILE.bdc\n"
           "       vardosk-cli meterdb read --port DEVICE [--rate BAUD] [--usb] [--trace FILE] --out FILE.bdc\n"
           "       vardosk-cli meterdb write FILE.bdc --port DEVICE [--rate BAUD] [--usb] [--trace FILE] "
           "[--password-stdin]\n"
           "         write asks for the access password when one is set: typed at the terminal, or the first\n"
           "         line of standard input with --password-stdin\n";
    return 2;
}

// The messages of a refused file, one per line, as the editor shows them.
QString loadFailureText(meterdb::BdcLoad result)
{
    switch (result) {
    case meterdb::BdcLoad::Ok:
        return {};
    case meterdb::BdcLoad::CannotOpen:
        return englishMessage(QStringLiteral("Error25")) + QLatin1Char('\n')
               + englishMessage(QStringLiteral("Error27"));
    case meterdb::BdcLoad::ReadError:
        return englishMessage(QStringLiteral("Error27"));
    case meterdb::BdcLoad::DataError:
        return englishMessage(QStringLiteral("Error26"));
    }
    return {};
}

QString entryLine(const meterdb::MeterEntry &e)
{
    return json::Object(json::Spacing::Compact)
        .text(QStringLiteral("meterType"), e.meterType) // trailing blanks went on reading
        .integer(QStringLiteral("serial"), e.serial)
        .integer(QStringLiteral("year"), e.year)
        .number(QStringLiteral("accuracyClass"), e.accuracyClass)
        .integer(QStringLiteral("constant"), e.constant)
        .number(QStringLiteral("uLineNom"), e.uLineNom)
        .number(QStringLiteral("uPhaseNom"), e.uPhaseNom)
        .number(QStringLiteral("iNom"), e.iNom)
        .integer(QStringLiteral("i1"), e.i1)
        .integer(QStringLiteral("i2"), e.i2)
        .toString();
}

int runShow(const QStringList &args)
{
    if (args.size() != 1)
        return usage(QStringLiteral("show takes one file"));
    meterdb::MeterList list;
    const meterdb::BdcLoad loaded = meterdb::loadBdcFile(args.first(), list);
    if (loaded != meterdb::BdcLoad::Ok) {
        QTextStream(stderr) << loadFailureText(loaded) << '\n';
        return 1;
    }
    QTextStream out(stdout);
    for (const meterdb::MeterEntry &e : list)
        out << entryLine(e) << '\n';
    return 0;
}

// The connection options and the one file option or argument of read/write.
bool parseTransferArgs(const QStringList &args, bool write, device::Connection &connection, QString &file,
                       QString &problem)
{
    for (int i = 0; i < args.size(); ++i) {
        const ConnectionArgument taken = takeConnectionArgument(args, i, connection, problem);
        if (taken == ConnectionArgument::Invalid)
            return false;
        if (taken == ConnectionArgument::Taken)
            continue;
        const QString &a = args.at(i);
        if (!write && a == QLatin1String("--out") && i + 1 < args.size() && file.isEmpty()) {
            file = args.at(++i);
        } else if (write && !a.startsWith(QLatin1String("--")) && file.isEmpty()) {
            file = a;
        } else {
            problem = QStringLiteral("unknown or incomplete argument \"%1\"").arg(a);
            return false;
        }
    }
    if (!connection.usb && connection.portName.isEmpty()) {
        problem = QStringLiteral("--port or --usb is needed");
        return false;
    }
    if (file.isEmpty()) {
        problem = write ? QStringLiteral("the file to write is needed") : QStringLiteral("--out FILE.bdc is needed");
        return false;
    }
    return true;
}

int finish(device::Status rc, const QString &successKey, const device::Connection &connection,
           const device::ExchangeContext &context)
{
    const deviceoutcome::OutcomeText text =
        deviceoutcome::outcomeText(rc, connection.portName, context.portFailure, deviceoutcome::builtInTexts(kEnglish));
    if (!text.dialog.isEmpty())
        QTextStream(stderr) << text.dialog << '\n';
    if (rc == device::Status::Ok)
        QTextStream(stdout) << englishMessage(successKey).trimmed() << '\n';
    else
        QTextStream(stderr) << text.status.trimmed() << '\n';
    return device::code(rc);
}

int runRead(const QStringList &args)
{
    device::Connection connection;
    QString file;
    QString problem;
    if (!parseTransferArgs(args, false, connection, file, problem))
        return usage(problem);
    device::ExchangeContext context;
    meterdb::MeterBaseTransfer transfer(device::makeLinkMaker(connection, context), context);
    meterdb::MeterList list;
    const device::Status rc = transfer.read(list);
    if (rc == device::Status::Ok) {
        meterdb::EncodedImage encoded;
        const meterdb::BdcSave saved = meterdb::saveBdcFile(file, list, &encoded);
        if (saved == meterdb::BdcSave::CannotWrite) {
            QTextStream(stderr) << englishMessage(QStringLiteral("Error25")) << '\n';
            return 2;
        }
        if (saved == meterdb::BdcSave::Unencodable) {
            QTextStream(stderr) << QStringLiteral(
                                       "entry %1: the meter type holds characters that cannot be stored: %2\n")
                                       .arg(encoded.entryIndex + 1)
                                       .arg(VisibleMeterType(encoded.badCharacters));
            return 2;
        }
    }
    return finish(rc, QStringLiteral("Error14"), connection, context);
}

int runWrite(QStringList args)
{
    const bool passwordFromStdin = takePasswordStdinOption(args);
    device::Connection connection;
    QString file;
    QString problem;
    if (!parseTransferArgs(args, true, connection, file, problem))
        return usage(problem);
    meterdb::MeterList list;
    const meterdb::BdcLoad loaded = meterdb::loadBdcFile(file, list);
    if (loaded != meterdb::BdcLoad::Ok) {
        QTextStream(stderr) << loadFailureText(loaded) << '\n';
        return 2;
    }
    const meterdb::EncodedImage encoded = meterdb::encodeImage(list, true);
    if (encoded.failure == meterdb::EncodeFailure::NotTenEntries) {
        QTextStream(stderr) << QStringLiteral("%1 holds %2 entries; only a database of exactly %3 can be written\n")
                                   .arg(file)
                                   .arg(list.size())
                                   .arg(meterdb::kMaxEntries);
        return 2;
    }
    if (!encoded.ok()) {
        QTextStream(stderr) << QStringLiteral("entry %1: the meter type holds characters that cannot be stored: %2\n")
                                   .arg(encoded.entryIndex + 1)
                                   .arg(VisibleMeterType(encoded.badCharacters));
        return 2;
    }
    // Asked once the file is known to be writable, as the editor asks
    // before it sends anything.
    if (!cliPasswordAccepted(passwordFromStdin))
        return 2;
    device::ExchangeContext context;
    meterdb::MeterBaseTransfer transfer(device::makeLinkMaker(connection, context), context);
    return finish(transfer.write(encoded.area), QStringLiteral("Error16"), connection, context);
}

} // namespace

int runMeterDb(const QStringList &args)
{
    if (args.isEmpty())
        return usage(QStringLiteral("meterdb needs show, read or write"));
    const QString sub = args.first();
    const QStringList rest = args.mid(1);
    if (sub == QLatin1String("show"))
        return runShow(rest);
    if (sub == QLatin1String("read"))
        return runRead(rest);
    if (sub == QLatin1String("write"))
        return runWrite(rest);
    return usage(QStringLiteral("unknown meterdb command \"%1\"").arg(sub));
}
