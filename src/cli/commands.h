// Sub-commands of vardosk-cli. Each takes the arguments after its name and
// returns the process exit status.
#pragma once

#include <QCoreApplication>
#include <QStringList>

#include <memory>
#include <optional>

int runDump(const QStringList &args); // cmd_dump.cpp
int runScan(const QStringList &args); // cmd_scan.cpp
int runContent(const QStringList &args); // cmd_content.cpp
int runReadArchive(const QStringList &args); // cmd_readarchive.cpp
int runReport(const QStringList &args); // cmd_report.cpp; needs makeReportApplication's application
std::unique_ptr<QCoreApplication> makeReportApplication(int &argc, char **argv);
int runExport(const QStringList &args); // cmd_export.cpp
int runExportFolder(const QStringList &args); // cmd_export.cpp
int runFind(const QStringList &args); // cmd_find.cpp
int runMeterDb(const QStringList &args); // cmd_meterdb.cpp
int runVerdict(const QStringList &args); // cmd_verdict.cpp

// The language of a --language value: "ru" Russian, "en" English; nothing
// for any other value (languageoption.cpp).
std::optional<int> languageOption(const QString &value);
