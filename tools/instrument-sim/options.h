// Command line of the emulator.
#pragma once

#include "archive.h"
#include "faults.h"

#include <QString>
#include <QStringList>

namespace sim {

struct SimOptions {
    bool help = false;
    bool verbose = false;
    int modelClass = 3;
    int generation = -1; // -1: follows from the model class; 0 older, 1 newer
    ScenarioOptions scenario;
    QString fromFolder;
    int serial = 1234;
    int baud = 0;
    FaultPlan faults;
    QString dbFile;
    QString typeName; // empty: the model's own designation
    int version1 = -1; // -1: the model's own version words
    int version2 = -1;
};

// Parses the arguments (without the program name); false with a message.
bool parseOptions(const QStringList &arguments, SimOptions &options, QString &error);

QString helpText();

} // namespace sim
