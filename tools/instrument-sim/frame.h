// Request frames as they arrive on the line and answer frames as the
// instrument sends them: 0x02, command or status, payload length (LE),
// payload, CRC-16 high byte first.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace sim {

// The largest request payload: a meter-database page write (0x0A).
constexpr int kMaxRequestPayload = 1030;

// Collects bytes from the line into whole request frames. Bytes before a
// start byte are dropped; a length field above the largest request makes the
// start byte count as noise, and the search goes on with the next byte.
class RequestAssembler {
public:
    void feed(const QByteArray &bytes) { buffer_.append(bytes); }
    // The next complete frame (with its CRC bytes), if one has arrived.
    std::optional<QByteArray> next();
    // Forgets a partial frame (after a pause on the line).
    void reset() { buffer_.clear(); }
    bool holdsPartialFrame() const { return !buffer_.isEmpty(); }

private:
    QByteArray buffer_;
};

// An answer frame with its CRC.
QByteArray buildAnswer(std::uint8_t status, const QByteArray &payload);

} // namespace sim
