#include "appstate.h"

#include <algorithm>
#include <initializer_list>

GridColumns defaultGridColumns(GridKind grid)
{
    static const std::initializer_list<int> hidden12{9, 10};
    static const std::initializer_list<int> hidden33{14, 15};
    static const std::initializer_list<int> hidden34{8, 9, 10, 14, 15, 16, 17, 19, 20, 21, 26, 27};
    const std::initializer_list<int> &hidden = grid == GridPhase12   ? hidden12
                                               : grid == GridPhase33 ? hidden33
                                                                     : hidden34;

    GridColumns columns;
    const int count = kGridColumnCount[grid];
    for (int s = 0; s < count; ++s) {
        columns.codes.append(static_cast<std::uint8_t>(s));
        columns.visible.append(std::find(hidden.begin(), hidden.end(), s) == hidden.end());
    }
    return columns;
}

const QStringList &PortNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (int i = 0; i < 100; ++i)
            list << QStringLiteral("/dev/ttyUSB%1").arg(i);
        for (int i = 0; i < 100; ++i)
            list << QStringLiteral("/dev/ttyS%1").arg(i);
        for (int i = 0; i < 55; ++i)
            list << QStringLiteral("/dev/ttyACM%1").arg(i);
        return list;
    }();
    return names;
}
