#include "frame.h"

#include "wire.h"

namespace sim {

std::optional<QByteArray> RequestAssembler::next()
{
    for (;;) {
        const int start = buffer_.indexOf(char(0x02));
        if (start < 0) {
            buffer_.clear();
            return std::nullopt;
        }
        buffer_.remove(0, start);
        if (buffer_.size() < 4)
            return std::nullopt;
        const int length = getU16(buffer_, 2);
        if (length > kMaxRequestPayload) {
            buffer_.remove(0, 1);
            continue;
        }
        if (buffer_.size() < length + 6)
            return std::nullopt;
        QByteArray frame = buffer_.left(length + 6);
        buffer_.remove(0, length + 6);
        return frame;
    }
}

QByteArray buildAnswer(std::uint8_t status, const QByteArray &payload)
{
    QByteArray frame(4, '\0');
    frame[0] = char(0x02);
    frame[1] = char(status);
    putU16(frame, 2, static_cast<std::uint16_t>(payload.size()));
    frame.append(payload);
    appendCrc(frame);
    return frame;
}

} // namespace sim
