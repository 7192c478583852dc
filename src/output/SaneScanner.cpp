#include "output/SaneScanner.h"

#include <sane/sane.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace px {

struct SaneScanner::Api {
    decltype(&::sane_init) init;
    decltype(&::sane_exit) exit;
    decltype(&::sane_get_devices) getDevices;
    decltype(&::sane_open) open;
    decltype(&::sane_close) close;
    decltype(&::sane_get_parameters) getParameters;
    decltype(&::sane_start) start;
    decltype(&::sane_read) read;
    decltype(&::sane_cancel) cancel;
    decltype(&::sane_strstatus) strstatus;
};

namespace {
template <typename T> bool resolve(void* library, const char* name, T& target)
{
    target = reinterpret_cast<T>(dlsym(library, name));
    return target != nullptr;
}

// sane_init ... sane_exit around one use of the library, so that every
// listing sees the devices plugged in at that moment.
class Session {
public:
    explicit Session(const SaneScanner::Api* api) : api_(api)
    {
        SANE_Int version = 0;
        ok_ = api_ && api_->init(&version, nullptr) == SANE_STATUS_GOOD;
    }
    ~Session()
    {
        if (ok_)
            api_->exit();
    }
    bool ok() const { return ok_; }

private:
    const SaneScanner::Api* api_;
    bool ok_ = false;
};

// One frame's samples as bytes 0..255: 1-bit samples (1 is black), 8-bit
// samples, 16-bit samples in the machine's byte order (their high byte).
int sample(const std::uint8_t* line, int index, int depth)
{
    switch (depth) {
    case 1:
        return (line[index / 8] & (0x80 >> (index % 8))) ? 0 : 255;
    case 16: {
        std::uint16_t v;
        std::memcpy(&v, line + 2 * index, 2);
        return v >> 8;
    }
    default:
        return line[index];
    }
}
} // namespace

SaneScanner::~SaneScanner()
{
    delete api_;
    if (library_)
        dlclose(library_);
}

const SaneScanner::Api* SaneScanner::api()
{
    if (tried_)
        return api_;
    tried_ = true;
    library_ = dlopen("libsane.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!library_)
        return nullptr;
    auto api = std::make_unique<Api>();
    if (resolve(library_, "sane_init", api->init) && resolve(library_, "sane_exit", api->exit) &&
        resolve(library_, "sane_get_devices", api->getDevices) && resolve(library_, "sane_open", api->open) &&
        resolve(library_, "sane_close", api->close) && resolve(library_, "sane_get_parameters", api->getParameters) &&
        resolve(library_, "sane_start", api->start) && resolve(library_, "sane_read", api->read) &&
        resolve(library_, "sane_cancel", api->cancel) && resolve(library_, "sane_strstatus", api->strstatus))
        api_ = api.release();
    return api_;
}

bool SaneScanner::available()
{
    return Session(api()).ok();
}

std::vector<ScannerDevice> SaneScanner::devices()
{
    std::vector<ScannerDevice> found;
    Session session(api());
    if (!session.ok())
        return found;
    const SANE_Device** list = nullptr;
    if (api_->getDevices(&list, SANE_FALSE) != SANE_STATUS_GOOD || !list)
        return found;
    for (const SANE_Device** d = list; *d; ++d) {
        std::string description;
        for (const char* part : {(*d)->vendor, (*d)->model, (*d)->type})
            if (part && *part)
                description += (description.empty() ? "" : " ") + std::string(part);
        found.push_back({(*d)->name ? (*d)->name : "", description});
    }
    return found;
}

Bitmap SaneScanner::scan(const std::string& deviceName)
{
    Session session(api());
    if (!session.ok())
        throw ScanError("SANE indisponible");
    const Api& sane = *api_;
    SANE_Handle handle = nullptr;
    SANE_Status status = sane.open(deviceName.c_str(), &handle);
    if (status != SANE_STATUS_GOOD)
        throw ScanError(sane.strstatus(status));
    std::unique_ptr<void, decltype(sane.close)> device(handle, sane.close);
    auto fail = [&](SANE_Status s) {
        sane.cancel(handle);
        if (s == SANE_STATUS_CANCELLED)
            throw ScanCancelled();
        throw ScanError(sane.strstatus(s));
    };

    Bitmap image;
    std::vector<std::uint8_t> data;
    for (;;) {
        if ((status = sane.start(handle)) != SANE_STATUS_GOOD)
            fail(status);
        SANE_Parameters p{};
        if ((status = sane.getParameters(handle, &p)) != SANE_STATUS_GOOD)
            fail(status);
        const bool rgb = p.format == SANE_FRAME_RGB;
        const int channels = rgb ? 3 : 1;
        if (p.format > SANE_FRAME_BLUE || (p.depth != 1 && p.depth != 8 && p.depth != 16) || (p.depth == 1 && rgb) ||
            !Bitmap::isAcceptableSize(p.pixels_per_line, p.lines < 0 ? 1 : p.lines) ||
            std::int64_t(p.bytes_per_line) * 8 < std::int64_t(p.pixels_per_line) * channels * p.depth)
            fail(SANE_STATUS_UNSUPPORTED);

        // The whole frame; a frame of unknown height is read to its end, up
        // to the size limit of a bitmap.
        const std::int64_t maxLines = std::min<std::int64_t>(Bitmap::kMaxSide, Bitmap::kMaxPixels / p.pixels_per_line);
        const std::int64_t limit = std::int64_t(p.bytes_per_line) * (p.lines >= 0 ? p.lines : maxLines);
        data.clear();
        std::uint8_t buffer[32768];
        for (;;) {
            SANE_Int got = 0;
            status = sane.read(handle, buffer, sizeof buffer, &got);
            if (status == SANE_STATUS_EOF)
                break;
            if (status != SANE_STATUS_GOOD)
                fail(status);
            const std::int64_t room = limit - std::int64_t(data.size());
            data.insert(data.end(), buffer, buffer + std::min<std::int64_t>(got, room));
        }
        const int lines = int(data.size() / std::size_t(p.bytes_per_line));
        if (lines == 0)
            fail(SANE_STATUS_INVAL);
        if (image.isEmpty()) {
            image = Bitmap(p.pixels_per_line, lines, 24);
            image.fill(kWhite);
        }
        // Separate red, green and blue frames each fill their channel (BGR order in memory).
        const int only = p.format == SANE_FRAME_RED     ? 2
                         : p.format == SANE_FRAME_GREEN ? 1
                         : p.format == SANE_FRAME_BLUE  ? 0
                                                        : -1;
        const int width = std::min(image.width(), p.pixels_per_line);
        for (int y = 0; y < std::min(lines, image.height()); ++y) {
            const std::uint8_t* line = data.data() + std::size_t(y) * std::size_t(p.bytes_per_line);
            std::uint8_t* out = image.row(y);
            for (int x = 0; x < width; ++x, out += 3) {
                if (rgb) {
                    out[2] = std::uint8_t(sample(line, 3 * x, p.depth));
                    out[1] = std::uint8_t(sample(line, 3 * x + 1, p.depth));
                    out[0] = std::uint8_t(sample(line, 3 * x + 2, p.depth));
                } else if (only >= 0) {
                    out[only] = std::uint8_t(sample(line, x, p.depth));
                } else {
                    out[0] = out[1] = out[2] = std::uint8_t(sample(line, x, p.depth));
                }
            }
        }
        if (p.last_frame)
            break;
    }
    sane.cancel(handle);
    return image;
}

} // namespace px
