// The shape every harness gives its input: the first byte steers the harness
// (which variant to run, whether to re-stamp checksums), the rest are the
// bytes under test. The bytes are copied into a buffer of exactly their
// size, with no closing zero, so that a read one byte past the end is seen
// by the address sanitizer.
#pragma once

#include "base/checksum.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace fuzz {

struct Input {
    std::uint8_t control = 0;
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;

    Input(const std::uint8_t *data, std::size_t length)
    {
        if (length > 0) {
            control = data[0];
            ++data;
            --length;
        }
        size = length;
        bytes.reset(new std::uint8_t[size > 0 ? size : 1]);
        if (size > 0)
            std::memcpy(bytes.get(), data, size);
    }

    // Seven inputs of eight get their checksums re-stamped, so that mutated
    // bytes reach the decoding behind the checksum test; the eighth is taken
    // as it is and exercises the checksum test itself.
    bool restamp() const { return (control & 7) != 0; }
    // Further steering bits.
    int variant(int count) const { return (control >> 3) % count; }

    QByteArrayView view() const { return {reinterpret_cast<const char *>(bytes.get()), qsizetype(size)}; }
    // A QByteArray over the same bytes without a copy (and without the
    // closing zero a copied QByteArray would bring).
    QByteArray raw() const
    {
        return QByteArray::fromRawData(reinterpret_cast<const char *>(bytes.get()), qsizetype(size));
    }
};

// Stores the CRC of [offset, offset + length) high byte first behind it when
// the whole range and its checksum lie inside the buffer.
inline void seal(std::uint8_t *data, std::size_t size, std::size_t offset, std::size_t length)
{
    if (offset + length + 2 <= size)
        StoreChecksum(data + offset, length);
}

// A property of the code under test does not hold: report and abort, which
// libFuzzer records as a finding with its input.
[[noreturn]] inline void fail(const char *what)
{
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

inline void check(bool condition, const char *what)
{
    if (!condition)
        fail(what);
}

} // namespace fuzz
