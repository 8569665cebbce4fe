// The calls of the USB bridge library, as a table the FTDI_device goes
// through. The real table is resolved at run time from libftdi1 with dlopen,
// so the program starts (and serves serial ports) where the library is
// missing; tests put a fake table in its place. Every call returns the
// library's status: 0 or more for success, negative for failure.
#pragma once

#include <memory>

namespace device {

class FtdiApi {
public:
    FtdiApi() = default;
    FtdiApi(const FtdiApi &) = delete;
    FtdiApi &operator=(const FtdiApi &) = delete;
    virtual ~FtdiApi() = default;

    // Loads the library and resolves every entry point; false when the
    // library or one of them is missing. Loading twice is harmless.
    virtual bool load() = 0;

    // A library context; every call below works on one. nullptr on failure.
    virtual void *newContext() = 0;
    virtual void freeContext(void *ctx) = 0;
    // Bridges on the bus: their number, or negative on failure.
    virtual int countDevices(void *ctx) = 0;
    // Serial number (or description) of bridge `index`, NUL-terminated.
    virtual int serialOf(void *ctx, int index, char *buffer, int size) = 0;
    virtual int descriptionOf(void *ctx, int index, char *buffer, int size) = 0;
    // Opens the bridge with this serial number, detaching the kernel's
    // serial driver for the run and giving it back on close.
    virtual int openBySerial(void *ctx, const char *serial) = 0;
    virtual int close(void *ctx) = 0;
    virtual int reset(void *ctx) = 0;
    virtual int flush(void *ctx) = 0; // receive and transmit buffers
    virtual int setLatency(void *ctx, int ms) = 0;
    virtual int setTransferSizes(void *ctx, int inbound, int outbound) = 0;
    virtual int setBaudRate(void *ctx, int bitsPerSecond) = 0;
    // 8 data bits, 2 stop bits, no parity is the only line this program uses.
    virtual int setLine8N2(void *ctx) = 0;
    virtual int setTimeouts(void *ctx, int readMs, int writeMs) = 0;
    // Bytes written / read (0 when nothing waits), negative on failure.
    virtual int write(void *ctx, const unsigned char *data, int size) = 0;
    virtual int read(void *ctx, unsigned char *data, int size) = 0;
};

// The table backed by libftdi1.so.2, loaded on first use.
std::unique_ptr<FtdiApi> makeLibFtdiApi();

} // namespace device
