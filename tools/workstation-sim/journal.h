// The journal a simulated workstation keeps of its record commands, one line
// each, and the key that names one verification wherever it is stored
// (merges and moves change its file, never its key).
#pragma once

#include "records/blockdata.h"

#include <QString>
#include <QTextStream>

// Meter serial, moment and power type: "4242|2010-03-01T10:00:00|0".
QString verificationKey(const pcn::_blockdata &v);

// Lines, fields separated by tabs:
//   EDIT key previous new    a constant changed (its value before and after)
//   REFUSED op [key new]     the file had changed meanwhile: nothing done, told
//   FAILED op                a write or move failed: nothing done
//   DONE op                  a merge, move or delete done
//   DROP key                 a verification deliberately removed
//   KEPT key                 merged into the target, while the source changed
//                            meanwhile and was kept (so the verification is
//                            stored twice, and the user was told)
class Journal {
public:
    explicit Journal(QTextStream &out) : m_out(out) {}
    void line(const QStringList &fields);

private:
    QTextStream &m_out;
};
