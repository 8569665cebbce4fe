#include "records/derivedvalues.h"

#include <cmath>

namespace pcn {

void computeDerivedValues(pcn::_datasample &point, const std::array<bool, 3> &reactiveSign)
{
    for (std::size_t p = 0; p < 3; ++p) {
        const double cosPhi = point.cosPhi[p];
        double s = point.U[p] * point.I[p];
        const double active = s * cosPhi;
        if (std::fabs(s) < std::fabs(active))
            s = active;
        double q = std::sqrt(s * s - active * active);
        if (reactiveSign[p])
            q = -q;
        point.S[p] = s;
        point.P[p] = active;
        point.Q[p] = q;
        const bool capacitive =
            std::fabs(cosPhi) != 1.0 && ((reactiveSign[p] && cosPhi >= 0) || (!reactiveSign[p] && cosPhi <= 0));
        point.pfChar[p] = capacitive ? 'C' : 'L';
    }
    point.pfTotal = point.Stotal != 0 ? point.Ptotal / point.Stotal : 0.0;
    point.pfChar[3] = point.pfTotal * point.QshiftTotal >= 0 ? 'L' : 'C';
}

} // namespace pcn
