// vardosk-cli content: identifies the instrument and reads its archive
// content, printing JSON lines: the device first, then one line per stored
// verification; with --data FOLDER each entry also tells the folder below
// that data folder where it is already stored ("storedIn", null when
// nowhere). The exit status is the operation's result code; its message
// goes to standard error.
#include "commands.h"
#include "connectionargs.h"

#include "device/connection.h"
#include "device/deviceclient.h"
#include "deviceoutcome/status.h"
#include "deviceoutcome/outcometext.h"
#include "records/storedindex.h"

#include "jsonwriter.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

constexpr int kEnglish = 1;

void printLine(const json::Object &object)
{
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    out << object.toString() << '\n';
}

int usage(const QString &problem)
{
    QTextStream(stderr)
        << problem
        << "\nusage: vardosk-cli content --port DEVICE [--rate BAUD] [--usb] [--trace FILE] [--data FOLDER]\n";
    return 2;
}

// The status-bar message of a result, with the port name where it belongs
// and the system's reason for a port that cannot be opened.
void reportResult(device::Status status, const device::Connection &connection, const device::ExchangeContext &context)
{
    QTextStream err(stderr);
    const deviceoutcome::OutcomeText text = deviceoutcome::outcomeText(status, connection.portName, context.portFailure,
                                                                       deviceoutcome::builtInTexts(kEnglish));
    if (!text.dialog.isEmpty())
        err << text.dialog << '\n';
    err << text.status.trimmed() << '\n';
}

} // namespace

int runContent(const QStringList &args)
{
    device::Connection connection;
    QString data;
    for (int i = 0; i < args.size(); ++i) {
        QString error;
        const ConnectionArgument taken = takeConnectionArgument(args, i, connection, error);
        if (taken == ConnectionArgument::Invalid)
            return usage(error);
        if (taken == ConnectionArgument::Taken)
            continue;
        if (args.at(i) == QLatin1String("--data") && i + 1 < args.size())
            data = args.at(++i);
        else
            return usage(QStringLiteral("unknown or incomplete argument \"%1\"").arg(args.at(i)));
    }
    if (!connection.usb && connection.portName.isEmpty())
        return usage(QStringLiteral("--port or --usb is needed"));
    if (!data.isEmpty() && !QFileInfo(data).isDir())
        return usage(QStringLiteral("\"%1\" is not a folder").arg(data));

    device::ExchangeContext context;
    device::DeviceClient client(device::makeLinkMaker(connection, context), context);
    DeviceInfo info;
    device::Status rc = client.identify(info);
    if (rc == device::Status::Ok || rc == device::Status::ArchiveEmpty) {
        // Members in name order, compact, as the published output has them.
        const json::Object device = json::Object(json::Spacing::Compact)
                                        .integer(QStringLiteral("archiveSize"), client.archiveSize())
                                        .integer(QStringLiteral("modelClass"), info.modelClass)
                                        .integer(QStringLiteral("pageFactor"), info.pageFactor)
                                        .integer(QStringLiteral("serialNumber"), info.serialNumber)
                                        .text(QStringLiteral("typeName"), info.typeName)
                                        .text(QStringLiteral("versionText"), info.versionText);
        printLine(json::Object(json::Spacing::Compact).raw(QStringLiteral("device"), device.toString()));
    }
    if (rc == device::Status::Ok) {
        QVector<pcn::_datacounter> content;
        rc = client.readContent(info, content);
        if (rc == device::Status::Ok) {
            const QVector<std::optional<QString>> stored =
                data.isEmpty() ? QVector<std::optional<QString>>() : LocateStored(data, content);
            for (int k = 0; k < content.size(); ++k) {
                const pcn::_datacounter &e = content.at(k);
                json::Object line(json::Spacing::Compact);
                line.text(QStringLiteral("date"), e.date.toString(Qt::ISODate))
                    .text(QStringLiteral("meterType"), e.meterType)
                    .integer(QStringLiteral("number"), k + 1)
                    .integer(QStringLiteral("powerType"), e.powerType)
                    .integer(QStringLiteral("serial"), qint64(e.serial));
                if (!data.isEmpty()) {
                    // The data folder itself is ".", as a relative path.
                    const std::optional<QString> &folder = stored.at(k);
                    line.raw(QStringLiteral("storedIn"),
                             !folder ? QStringLiteral("null")
                                     : json::string(folder->isEmpty() ? QStringLiteral(".") : *folder));
                }
                printLine(line.text(QStringLiteral("time"), e.time.toString(QStringLiteral("HH:mm:ss"))));
            }
        }
    }
    if (rc != device::Status::Ok)
        reportResult(rc, connection, context);
    return device::code(rc);
}
