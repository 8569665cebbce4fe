// Hand-built sample blocks of stored verification files, one per version,
// instrument type and encoding family. The values in the comments are what
// a reader must find in them.
#pragma once

#include "pcnbytes.h"

namespace pcnsamples {

using namespace pcnbytes;

// Version 23, type 0 (family A, 16.16 quantities, 32.16 totals), one point.
//   meter "CE301         ", serial 123456789, 2008, class 1, constant 1600,
//   380 / 220 V, 5 A, scheme 1, active, transformer 100/5, 2009-03-15 09:05:07,
//   instrument 0x1234.
//   A: I 5.5, U 220.25, Uline 381, cos 0.5, sign clear
//   B: I 1, U 230, Uline 0, cos -0.5, sign set
//   C: zero, cos 0
//   Ptotal 1000.5, Stotal 2001, Qcross -1.5, Qshift 10.25, Qgeom 70000,
//   error -50 %, extra -2.5, range codes 3 and 1 (ignored),
//   range entry 10 A through clamps, 250 V.
inline QByteArray type0Block(Header h = Header())
{
    h.version = 23;
    h.type = 0;
    QByteArray b = block23(h);
    const int p = point23(0);
    put32hl(b, p + 0, 0x00058000);
    put16(b, p + 4, 0);
    put16(b, p + 6, 0x0800);
    put32hl(b, p + 8, 0x00DC4000);
    put32hl(b, p + 12, 0x017D0000);
    put32hl(b, p + 16, 0x00010000);
    put16(b, p + 20, 0xFFFF);
    put16(b, p + 22, 0xF800);
    put32hl(b, p + 24, 0x00E60000);
    put64words(b, p + 48, 0, 0, 1000, 0x8000);
    put64words(b, p + 56, 0, 0, 2001, 0);
    put64words(b, p + 64, 0xFFFF, 0, 1, 0x8000);
    put64words(b, p + 72, 0, 0, 10, 0x4000);
    put64words(b, p + 80, 0, 1, 0x1170, 0);
    put32hl(b, p + 88, 0xFFFF8000);
    put16(b, p + 92, 0xFD80);
    b[p + 94] = 3;
    b[p + 95] = 1;
    putRange(b, range23(0), 40, 0, 2, 250, 0);
    seal23(b);
    return b;
}

// Version 23, type 1 (family B, 12.20 quantities), single-phase, apparent.
//   A: U 230.5, I 0.125, Uline 400, cos 1 -> 'L'; Ptotal 28.8125;
//   error +100 %; range 0.05 A (3277 / 65536), 220 V -> "0.05", "220".
inline QByteArray type1Block()
{
    Header h;
    h.type = 1;
    h.b38 = 4;
    h.b39 = 1;
    h.transformer = 0x0011; // i1 1, i2 1
    QByteArray b = block23(h);
    const int p = point23(0);
    put32hl(b, p + 0, 0x00020000);
    put16(b, p + 6, 0x1000);
    put32hl(b, p + 8, 0x0E680000);
    put32hl(b, p + 12, 0x19000000);
    put64words(b, p + 48, 0, 0, 28, 0xD000);
    put32hl(b, p + 88, 0x00010000);
    putRange(b, range23(0), 0, 3277, 0, 220, 0);
    seal23(b);
    return b;
}

// Version 22, type 2 (family B), two points, no range table:
//   point 0: U 230.5, range codes current 10 (0.05 A), voltage 3 (60 V)
//   point 1: I 2.5, range codes 0 (100 A), 0 (480 V)
// Block length 52 + 2 * 96 + 2 = 246.
inline QByteArray type2Block22(std::uint32_t serial = 987654)
{
    Header h;
    h.version = 22;
    h.type = 2;
    h.n = 2;
    h.serial = serial;
    h.b38 = 4;
    QByteArray b = blockOld(h);
    put32hl(b, 52 + 8, 0x0E680000);
    b[52 + 94] = 10;
    b[52 + 95] = 3;
    put32hl(b, 148 + 0, 0x00280000);
    sealOld(b);
    return b;
}

// Version 23, type 3 (family A), eleven points: point k (0..9) has I = k + 1
// and range entry k * 4 (k A) through a transformer, 100 V; the extension
// block holds point 10 with I = 11.5 and range entry 1 A through a
// transformer, 57.72 V (57 + 0xB852 / 65536).
inline QByteArray type3Block11(QByteArray *extension)
{
    Header h;
    h.type = 3;
    h.n = 11;
    QByteArray b = block23(h);
    for (int k = 0; k < 10; ++k) {
        put32hl(b, point23(k), std::uint32_t(k + 1) << 16);
        putRange(b, range23(k), std::uint16_t(4 * k), 0, 1, 100, 0);
    }
    seal23(b);
    QByteArray e = extension23();
    put32hl(e, 0, 0x000B8000);
    putRange(e, 96, 4, 0, 1, 57, 0xB852);
    sealExtension23(e);
    *extension = e;
    return b;
}

// Version 23, type 5 (family C, 32.16 totals), word 38 0x01DC: scheme 4,
// power type 3, multiplier bits set. Two points:
//   point 0: range kind 2 -> I 16.16 = 2.5; U 12.20 = 230.5; Ptotal -1.5
//   point 1: range kind 0 -> I 12.20 = 2.5
inline QByteArray type5Block()
{
    Header h;
    h.type = 5;
    h.n = 2;
    h.b38 = 0xDC;
    h.b39 = 0x01;
    QByteArray b = block23(h);
    put32hl(b, point23(0) + 0, 0x00028000);
    put32hl(b, point23(0) + 8, 0x0E680000);
    put64words(b, point23(0) + 48, 0xFFFF, 0, 1, 0x8000);
    putRange(b, range23(0), 8, 0, 2, 220, 0);
    put32hl(b, point23(1) + 0, 0x00280000);
    putRange(b, range23(1), 8, 0, 0, 220, 0);
    seal23(b);
    return b;
}

// Version 23, type 6 (family C, 28.20 totals), scheme 4, power type 1:
//   Ptotal 1000.5 (0, 0, 0x3E88, 0), Stotal -70000 (0xFFFF, 0x11, 0x1700, 0).
inline QByteArray type6Block()
{
    Header h;
    h.type = 6;
    h.b38 = (1 << 3) | 4;
    QByteArray b = block23(h);
    put64words(b, point23(0) + 48, 0, 0, 0x3E88, 0);
    put64words(b, point23(0) + 56, 0xFFFF, 0x0011, 0x1700, 0);
    seal23(b);
    return b;
}

} // namespace pcnsamples
