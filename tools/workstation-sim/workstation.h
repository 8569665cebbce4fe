// One simulated workstation: for a given time it picks record commands at
// random on the folders A and B of a data folder, through the record store
// and the record operations exactly as the window's commands call them
// (change a constant, delete a verification, merge with deletion, cut and
// paste into the other folder, delete a file), and keeps a journal of what
// it did and what was refused.
#pragma once

#include <QString>

class QTextStream;

struct WorkstationRun {
    QString dataFolder;
    int id = 1; // 1..40: the constants it sets are id * 10^8 + a count
    int seconds = 5; // at most
    unsigned seed = 1;
    QString stopFile; // it ends as soon as this file exists
};

struct WorkstationCounts {
    int commands = 0;
    int done = 0;
    int refused = 0;
    int failed = 0;
};

WorkstationCounts runWorkstation(const WorkstationRun &run, QTextStream &journal);
