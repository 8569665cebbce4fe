// Sub-commands of vardosk-cli. Each takes the arguments after its name and
// returns the process exit status.
#pragma once

#include <QStringList>

int runDump(const QStringList &args);        // cmd_dump.cpp
int runScan(const QStringList &args);        // cmd_scan.cpp
int runContent(const QStringList &args);     // cmd_content.cpp
int runReadArchive(const QStringList &args); // cmd_readarchive.cpp
int runMeterDb(const QStringList &args);     // cmd_meterdb.cpp
