#include "platform/linux/ImageMetadataReader.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <limits>
#include <mutex>
#include <string>
#include <vector>

// exiv2 0.27 hands images and inputs around in std::auto_ptr, which C++20 deprecates; this
// file is the only place that talks to it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace tallowmere::linux_fs {
namespace {

std::once_flag g_exiv2Setup;
// Serialises the XMP toolkit's namespace registry, which is not thread-safe by itself.
std::mutex g_xmpMutex;

void lockXmp(void*, bool lock) {
    if (lock) {
        g_xmpMutex.lock();
    } else {
        g_xmpMutex.unlock();
    }
}

void setUpExiv2() {
    std::call_once(g_exiv2Setup, [] {
        // Damaged files are expected here and are handled through the result; exiv2 would
        // otherwise print a warning for each one.
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(lockXmp, nullptr);
        Exiv2::enableBMFF(true);
    });
}

// An exiv2 input over an open file that can only read. Reads are positioned (pread), so the
// descriptor's offset does not matter; the first block of the file is read once and kept,
// because telling the image type and walking a photo's header segments read it in many small
// pieces.
class ReadOnlyFileIo final : public Exiv2::BasicIo {
public:
    ReadOnlyFileIo(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
    ~ReadOnlyFileIo() override { munmap(); }

    int open() override {
        m_position = 0;
        m_eof = false;
        return 0;
    }
    int close() override {
        munmap();
        return 0;
    }

    long write(const Exiv2::byte*, long) override { return 0; }
    long write(Exiv2::BasicIo&) override { return 0; }
    int putb(Exiv2::byte) override { return EOF; }
    void transfer(Exiv2::BasicIo&) override { throw Exiv2::Error(Exiv2::kerFunctionNotSupported); }

    Exiv2::DataBuf read(long count) override {
        // Never allocate more than the file still holds, whatever a damaged header asks for.
        const long wanted = std::max(0L, std::min<long>(count, remaining()));
        Exiv2::DataBuf buffer(wanted);
        const long got = read(buffer.pData_, wanted);
        buffer.size_ = got;
        return buffer;
    }

    long read(Exiv2::byte* out, long count) override {
        if (count <= 0)
            return 0;
        const long wanted = std::min<long>(count, remaining());
        if (wanted < count)
            m_eof = true;
        long done = 0;
        while (done < wanted) {
            const std::uint64_t at = m_position + static_cast<std::uint64_t>(done);
            if (at < kHeadSize && fillHead()) {
                const std::size_t inHead = std::min<std::size_t>(
                    m_head.size() - at, static_cast<std::size_t>(wanted - done));
                std::memcpy(out + done, m_head.data() + at, inHead);
                done += static_cast<long>(inHead);
                continue;
            }
            const ssize_t got = ::pread(m_fd, out + done, static_cast<std::size_t>(wanted - done),
                                        static_cast<off_t>(at));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                m_error = got < 0 ? errno : 0;
                m_eof = true;
                break;
            }
            done += got;
        }
        m_position += static_cast<std::uint64_t>(done);
        return done;
    }

    int getb() override {
        Exiv2::byte byte = 0;
        return read(&byte, 1) == 1 ? byte : EOF;
    }

    int seek(long offset, Position from) override {
        std::int64_t base = 0;
        if (from == cur)
            base = static_cast<std::int64_t>(m_position);
        if (from == end)
            base = static_cast<std::int64_t>(m_size);
        std::int64_t target = 0;
        // A damaged header can ask for any offset.
        if (__builtin_add_overflow(base, static_cast<std::int64_t>(offset), &target) || target < 0)
            return 1;
        // As exiv2's own memory input: a position past the end is refused and marks the end.
        if (static_cast<std::uint64_t>(target) > m_size) {
            m_eof = true;
            return 1;
        }
        m_position = static_cast<std::uint64_t>(target);
        m_eof = false;
        return 0;
    }

    Exiv2::byte* mmap(bool isWriteable) override {
        if (isWriteable)
            throw Exiv2::Error(Exiv2::kerFailedToMapFileForReadWrite, "read-only input");
        if (m_map == nullptr && m_size > 0) {
            void* mapped = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, m_fd, 0);
            if (mapped == MAP_FAILED)
                throw Exiv2::Error(Exiv2::kerCallFailed, "mmap", std::strerror(errno));
            m_map = static_cast<Exiv2::byte*>(mapped);
        }
        return m_map;
    }
    int munmap() override {
        if (m_map != nullptr) {
            ::munmap(m_map, m_size);
            m_map = nullptr;
        }
        return 0;
    }

    long tell() const override { return static_cast<long>(m_position); }
    size_t size() const override { return static_cast<size_t>(m_size); }
    bool isopen() const override { return true; }
    int error() const override { return m_error; }
    bool eof() const override { return m_eof; }
    std::string path() const override { return "<photo>"; }
#ifdef EXV_UNICODE_PATH
    std::wstring wpath() const override {
        return L"<photo>";
    }
#endif
    void populateFakeData() override {}

private:
    static constexpr std::uint64_t kHeadSize = 64 * 1024;

    long remaining() const {
        if (m_position >= m_size)
            return 0;
        const std::uint64_t rest = m_size - m_position;
        return static_cast<long>(std::min<std::uint64_t>(rest, std::numeric_limits<long>::max()));
    }

    // Reads the first block once; false when it cannot be read (then reads go to the file).
    bool fillHead() {
        if (m_headState == HeadState::unread) {
            m_head.resize(static_cast<std::size_t>(std::min(m_size, kHeadSize)));
            std::size_t done = 0;
            while (done < m_head.size()) {
                const ssize_t got = ::pread(m_fd, m_head.data() + done, m_head.size() - done,
                                            static_cast<off_t>(done));
                if (got < 0 && errno == EINTR)
                    continue;
                if (got <= 0)
                    break;
                done += static_cast<std::size_t>(got);
            }
            m_head.resize(done);
            m_headState = HeadState::read;
        }
        return m_position < m_head.size();
    }

    enum class HeadState { unread, read };

    const int m_fd;
    const std::uint64_t m_size;
    std::uint64_t m_position = 0;
    bool m_eof = false;
    int m_error = 0;
    HeadState m_headState = HeadState::unread;
    std::vector<Exiv2::byte> m_head;
    Exiv2::byte* m_map = nullptr;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number in text[at, at + width), or -1 when any of those characters is not a digit.
int digitsAt(std::string_view text, std::size_t at, std::size_t width) {
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
        if (i >= text.size() || !isDigit(text[i]))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Nothing but spaces and NUL bytes (EXIF text is padded with both) from `at` on.
bool onlyPaddingFrom(std::string_view text, std::size_t at) {
    for (std::size_t i = at; i < text.size(); ++i) {
        if (text[i] != ' ' && text[i] != '\0')
            return false;
    }
    return true;
}

std::string_view trimmed(std::string_view text) {
    const auto padding = [](char c) {
        return c == ' ' || c == '\0' || c == '\t' || c == '\n';
    };
    while (!text.empty() && padding(text.front())) text.remove_prefix(1);
    while (!text.empty() && padding(text.back())) text.remove_suffix(1);
    return text;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
std::int64_t daysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return std::int64_t(era) * 146097 + dayOfEra - 719468;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// "+HH:MM" / "-HH:MM" as seconds east of UTC.
std::optional<int> offsetSeconds(std::string_view text) {
    text = trimmed(text);
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':')
        return std::nullopt;
    const int hours = digitsAt(text, 1, 2);
    const int minutes = digitsAt(text, 4, 2);
    if (hours < 0 || hours > 14 || minutes < 0 || minutes > 59)
        return std::nullopt;
    const int seconds = hours * 3600 + minutes * 60;
    return text[0] == '-' ? -seconds : seconds;
}

std::optional<std::string> exifText(const Exiv2::ExifData& exif, const Exiv2::ExifKey& key) {
    const auto found = exif.findKey(key);
    if (found == exif.end())
        return std::nullopt;
    return found->toString();
}

bool isScreenshotComment(const Exiv2::ExifData& exif, const Exiv2::ExifKey& key) {
    const auto found = exif.findKey(key);
    if (found == exif.end())
        return false;
    // The comment's text without its character-set prefix.
    if (const auto* comment = dynamic_cast<const Exiv2::CommentValue*>(&found->value()))
        return trimmed(comment->comment()) == "Screenshot";
    return trimmed(found->toString()) == "Screenshot";
}

bool isRatedFive(const Exiv2::XmpData& xmp, const Exiv2::XmpKey& key) {
    const auto found = xmp.findKey(key);
    if (found == xmp.end())
        return false;
    const std::string text(trimmed(found->toString()));
    if (text.empty())
        return false;
    char* end = nullptr;
    const double rating = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && rating == 5.0;
}

// The keys are parsed once: looking them up by text for every photo would cost more than
// reading the photo's header.
struct Keys {
    Exiv2::ExifKey dateTimeOriginal{"Exif.Photo.DateTimeOriginal"};
    Exiv2::ExifKey offsetTimeOriginal{"Exif.Photo.OffsetTimeOriginal"};
    Exiv2::ExifKey userComment{"Exif.Photo.UserComment"};
    Exiv2::XmpKey rating{"Xmp.xmp.Rating"};
};

const Keys& keys() {
    // Constant once built; C++ makes its construction thread-safe.
    static const Keys kKeys;
    return kKeys;
}

}  // namespace

std::optional<Date> exifDateTime(std::string_view text, std::optional<std::string_view> offset) {
    if (text.size() < 19)
        return std::nullopt;
    const char dateSeparator = text[4];
    if ((dateSeparator != ':' && dateSeparator != '-') || text[7] != dateSeparator ||
        (text[10] != ' ' && text[10] != 'T') || text[13] != ':' || text[16] != ':' ||
        !onlyPaddingFrom(text, 19)) {
        return std::nullopt;
    }
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    const int hour = digitsAt(text, 11, 2);
    const int minute = digitsAt(text, 14, 2);
    const int second = digitsAt(text, 17, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 60) {
        return std::nullopt;
    }
    const std::optional<int> zone = offset ? offsetSeconds(*offset) : std::nullopt;
    if (zone) {
        const std::int64_t local =
            daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
        return Date(static_cast<double>(local - *zone));
    }
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    const std::time_t local = std::mktime(&fields);
    if (local == static_cast<std::time_t>(-1) && !(fields.tm_year == 69 && fields.tm_mon == 11))
        return std::nullopt;
    return Date(static_cast<double>(local));
}

ImageMetadata readImageMetadata(int fd, std::uint64_t size) {
    setUpExiv2();
    ImageMetadata metadata;
    try {
        Exiv2::BasicIo::AutoPtr io(new ReadOnlyFileIo(fd, size));
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(io);
        if (image.get() == nullptr)
            return metadata;
        image->readMetadata();
        const Keys& k = keys();
        const Exiv2::ExifData& exif = image->exifData();
        if (const auto original = exifText(exif, k.dateTimeOriginal)) {
            const auto offset = exifText(exif, k.offsetTimeOriginal);
            metadata.dateTimeOriginal = exifDateTime(
                *original, offset ? std::optional<std::string_view>(*offset) : std::nullopt);
        }
        metadata.hasScreenshotComment = isScreenshotComment(exif, k.userComment);
        metadata.isRatedFive = isRatedFive(image->xmpData(), k.rating);
    } catch (const Exiv2::AnyError&) {
        return {};
    } catch (const std::exception&) {
        // Allocation failures and the like from a damaged file: the photo stays an asset,
        // only its embedded metadata is not used.
        return {};
    }
    return metadata;
}

}  // namespace tallowmere::linux_fs

#pragma GCC diagnostic pop
