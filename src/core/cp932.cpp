#include "core/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace core {

namespace {

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`; an unconvertible or invalid sequence calls `onError` with the
    // remaining input, which returns how many input bytes to skip (0 = give up).
    template <typename OnError>
    bool convert(QByteArrayView in, QByteArray& out, OnError onError)
    {
        auto* src = const_cast<char*>(in.data());
        size_t srcLeft = size_t(in.size());
        char buffer[1024];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, qsizetype(dst - buffer));
            if (r != size_t(-1))
                continue;
            if (errno == E2BIG)
                continue;
            const size_t skip = onError(QByteArrayView(src, qsizetype(srcLeft)), out);
            if (skip == 0 || skip > srcLeft)
                return false;
            src += skip;
            srcLeft -= skip;
        }
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, qsizetype(dst - buffer));
        return true;
    }

private:
    iconv_t cd_;
};

// Length of the UTF-8 sequence starting with lead byte `c`.
size_t utf8Length(unsigned char c)
{
    if (c < 0x80)
        return 1;
    if ((c & 0xe0) == 0xc0)
        return 2;
    if ((c & 0xf0) == 0xe0)
        return 3;
    if ((c & 0xf8) == 0xf0)
        return 4;
    return 1;
}

}  // namespace

QString decodeCp932(QByteArrayView bytes, bool* ok)
{
    if (ok)
        *ok = true;
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    Converter conv("UTF-8", "CP932");
    QByteArray utf8;
    const bool done = conv.valid()
        && conv.convert(bytes, utf8, [](QByteArrayView, QByteArray&) { return size_t(0); });
    if (!done) {
        if (ok)
            *ok = false;
        return QString();
    }
    return QString::fromUtf8(utf8);
}

QByteArray encodeCp932(QStringView text, bool* ok)
{
    if (ok)
        *ok = true;
    const QByteArray utf8 = text.toUtf8();
    if (isAscii(utf8))
        return utf8;
    Converter conv("CP932", "UTF-8");
    QByteArray out;
    bool lossless = true;
    const bool done = conv.valid()
        && conv.convert(utf8, out, [&lossless](QByteArrayView rest, QByteArray& o) {
               lossless = false;
               o.append('?');
               return utf8Length(static_cast<unsigned char>(rest.front()));
           });
    if (!done) {
        lossless = false;
        out = QByteArray(text.size(), '?');
    }
    if (ok)
        *ok = lossless;
    return out;
}

}  // namespace core
