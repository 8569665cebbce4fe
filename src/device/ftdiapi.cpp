#include "ftdiapi.h"

#include <dlfcn.h>

#include <cstring>

#if __has_include(<libftdi1/ftdi.h>)
#include <libftdi1/ftdi.h>
#define VARDOSK_HAVE_FTDI_HEADER 1
#endif

namespace device {

namespace {

// Layout of the library's device list (stable across libftdi1 releases).
struct DeviceList {
    DeviceList *next;
    void *dev;
};

// Library enumeration values, stable across libftdi1 releases. Vendor and
// product 0 let the library look for every bridge it knows.
constexpr int kDetachReattach = 2; // AUTO_DETACH_REATACH_SIO_MODULE
constexpr int kBits8 = 8;
constexpr int kStopBits2 = 2;
constexpr int kParityNone = 0;

class LibFtdiApi final : public FtdiApi {
public:
    ~LibFtdiApi() override
    {
        // The library stays loaded for the life of the program once loaded:
        // the handle is not closed here on purpose.
    }

    bool load() override
    {
        if (loaded_)
            return true;
        handle_ = dlopen("libftdi1.so.2", RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr)
            return false;
        bool ok = true;
        auto resolve = [&](auto &fn, const char *name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(handle_, name));
            ok = ok && fn != nullptr;
        };
        resolve(ftdi_new_, "ftdi_new");
        resolve(ftdi_free_, "ftdi_free");
        resolve(ftdi_usb_find_all_, "ftdi_usb_find_all");
        resolve(ftdi_list_free_, "ftdi_list_free");
        resolve(ftdi_usb_get_strings_, "ftdi_usb_get_strings");
        resolve(ftdi_usb_open_dev_, "ftdi_usb_open_dev");
        resolve(ftdi_usb_close_, "ftdi_usb_close");
        resolve(ftdi_usb_reset_, "ftdi_usb_reset");
        resolve(ftdi_tcioflush_, "ftdi_tcioflush");
        resolve(ftdi_set_latency_timer_, "ftdi_set_latency_timer");
        resolve(ftdi_read_data_set_chunksize_, "ftdi_read_data_set_chunksize");
        resolve(ftdi_write_data_set_chunksize_, "ftdi_write_data_set_chunksize");
        resolve(ftdi_set_baudrate_, "ftdi_set_baudrate");
        resolve(ftdi_set_line_property_, "ftdi_set_line_property");
        resolve(ftdi_write_data_, "ftdi_write_data");
        resolve(ftdi_read_data_, "ftdi_read_data");
        loaded_ = ok;
        return ok;
    }

    void *newContext() override
    {
        void *ctx = ftdi_new_();
#ifdef VARDOSK_HAVE_FTDI_HEADER
        if (ctx != nullptr)
            static_cast<ftdi_context *>(ctx)->module_detach_mode =
                static_cast<ftdi_module_detach_mode>(kDetachReattach);
#endif
        return ctx;
    }
    void freeContext(void *ctx) override
    {
        ftdi_free_(ctx);
    }

    int countDevices(void *ctx) override
    {
        DeviceList *list = nullptr;
        const int n = ftdi_usb_find_all_(ctx, &list, 0, 0);
        ftdi_list_free_(&list);
        return n;
    }

    int serialOf(void *ctx, int index, char *buffer, int size) override
    {
        return strings(ctx, index, nullptr, 0, buffer, size);
    }
    int descriptionOf(void *ctx, int index, char *buffer, int size) override
    {
        return strings(ctx, index, buffer, size, nullptr, 0);
    }

    int openBySerial(void *ctx, const char *serial) override
    {
        DeviceList *list = nullptr;
        const int n = ftdi_usb_find_all_(ctx, &list, 0, 0);
        int rc = -1;
        char found[128];
        for (DeviceList *d = list; n > 0 && d != nullptr; d = d->next) {
            found[0] = '\0';
            if (ftdi_usb_get_strings_(ctx, d->dev, nullptr, 0, nullptr, 0, found, sizeof found) >= 0
                && std::strcmp(found, serial) == 0) {
                rc = ftdi_usb_open_dev_(ctx, d->dev);
                break;
            }
        }
        ftdi_list_free_(&list);
        return rc;
    }

    int close(void *ctx) override
    {
        return ftdi_usb_close_(ctx);
    }
    int reset(void *ctx) override
    {
        return ftdi_usb_reset_(ctx);
    }
    int flush(void *ctx) override
    {
        return ftdi_tcioflush_(ctx);
    }
    int setLatency(void *ctx, int ms) override
    {
        return ftdi_set_latency_timer_(ctx, static_cast<unsigned char>(ms));
    }
    int setTransferSizes(void *ctx, int inbound, int outbound) override
    {
        // 0 keeps the library's own size, as the vendor driver does.
        int rc = inbound > 0 ? ftdi_read_data_set_chunksize_(ctx, static_cast<unsigned>(inbound)) : 0;
        if (outbound > 0 && rc >= 0)
            rc = ftdi_write_data_set_chunksize_(ctx, static_cast<unsigned>(outbound));
        return rc;
    }
    int setBaudRate(void *ctx, int bitsPerSecond) override
    {
        return ftdi_set_baudrate_(ctx, bitsPerSecond);
    }
    int setLine8N2(void *ctx) override
    {
        return ftdi_set_line_property_(ctx, kBits8, kStopBits2, kParityNone);
    }
    int setTimeouts(void *ctx, int readMs, int writeMs) override
    {
#ifdef VARDOSK_HAVE_FTDI_HEADER
        auto *c = static_cast<ftdi_context *>(ctx);
        c->usb_read_timeout = readMs;
        // 0 means "no limit" to the vendor driver; the USB stack needs a
        // bound, so writes get the library's default instead.
        if (writeMs > 0)
            c->usb_write_timeout = writeMs;
#else
        (void)ctx;
        (void)readMs;
        (void)writeMs;
#endif
        return 0;
    }
    int write(void *ctx, const unsigned char *data, int size) override
    {
        return ftdi_write_data_(ctx, data, size);
    }
    int read(void *ctx, unsigned char *data, int size) override
    {
        return ftdi_read_data_(ctx, data, size);
    }

private:
    int strings(void *ctx, int index, char *description, int descriptionSize, char *serial, int serialSize)
    {
        DeviceList *list = nullptr;
        const int n = ftdi_usb_find_all_(ctx, &list, 0, 0);
        int rc = -1;
        DeviceList *d = list;
        for (int i = 0; i < index && d != nullptr; ++i)
            d = d->next;
        if (n > index && d != nullptr)
            rc = ftdi_usb_get_strings_(ctx, d->dev, nullptr, 0, description, descriptionSize, serial, serialSize);
        ftdi_list_free_(&list);
        return rc;
    }

    void *handle_ = nullptr;
    bool loaded_ = false;
    void *(*ftdi_new_)() = nullptr;
    void (*ftdi_free_)(void *) = nullptr;
    int (*ftdi_usb_find_all_)(void *, DeviceList **, int, int) = nullptr;
    void (*ftdi_list_free_)(DeviceList **) = nullptr;
    int (*ftdi_usb_get_strings_)(void *, void *, char *, int, char *, int, char *, int) = nullptr;
    int (*ftdi_usb_open_dev_)(void *, void *) = nullptr;
    int (*ftdi_usb_close_)(void *) = nullptr;
    int (*ftdi_usb_reset_)(void *) = nullptr;
    int (*ftdi_tcioflush_)(void *) = nullptr;
    int (*ftdi_set_latency_timer_)(void *, unsigned char) = nullptr;
    int (*ftdi_read_data_set_chunksize_)(void *, unsigned) = nullptr;
    int (*ftdi_write_data_set_chunksize_)(void *, unsigned) = nullptr;
    int (*ftdi_set_baudrate_)(void *, int) = nullptr;
    int (*ftdi_set_line_property_)(void *, int, int, int) = nullptr;
    int (*ftdi_write_data_)(void *, const unsigned char *, int) = nullptr;
    int (*ftdi_read_data_)(void *, unsigned char *, int) = nullptr;
};

} // namespace

std::unique_ptr<FtdiApi> makeLibFtdiApi()
{
    return std::make_unique<LibFtdiApi>();
}

} // namespace device
