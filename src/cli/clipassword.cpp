#include "clipassword.h"

#include "base/platform.h"
#include "base/stringcatalog.h"

#include <QTextStream>

#include <cstdio>
#include <optional>
#include <string>

namespace {

constexpr int kEnglish = 1;

// One line of standard input without its line end; nothing at its end.
std::optional<QString> readStdinLine()
{
    std::string line;
    int c = 0;
    bool any = false;
    while ((c = std::getchar()) != EOF) {
        any = true;
        if (c == '\n')
            break;
        line.push_back(char(c));
    }
    if (!any)
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromLocal8Bit(line.data(), qsizetype(line.size()));
}

// The password typed at the terminal after a prompt on standard error, not
// echoed.
std::optional<QString> readHiddenLine()
{
    QTextStream(stderr) << catalogDefault(QStringLiteral("EnterPasswordForm"), QStringLiteral("Title"), kEnglish)
                        << ": " << Qt::flush;
    const bool hidden = platform::setStdinEcho(false);
    const std::optional<QString> line = readStdinLine();
    if (hidden)
        platform::setStdinEcho(true);
    QTextStream(stderr) << '\n';
    return line;
}

} // namespace

bool takePasswordStdinOption(QStringList &args)
{
    return args.removeAll(QStringLiteral("--password-stdin")) > 0;
}

bool cliPasswordAccepted(bool fromStdin)
{
    const QString password = platform::loadStoredPassword();
    if (!fromStdin && password.isEmpty())
        return true; // none set: the window's dialog would accept an empty entry
    std::optional<QString> given;
    if (fromStdin)
        given = readStdinLine();
    else if (platform::stdinIsTerminal())
        given = readHiddenLine();
    if (given && *given == password)
        return true;
    QTextStream(stderr) << catalogDefault(kMainSectionKey, kMessageGroup + QStringLiteral("/Error19"), kEnglish)
                        << '\n';
    return false;
}
