#include "PngFile.h"

#include <QtEndian>
#include <array>
#include <cstdlib>

namespace {

quint32 crc32(const QByteArray& bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xffffffffu;
    for (const char byte : bytes)
        c = table[(c ^ static_cast<quint8>(byte)) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

void appendBigEndian(QByteArray& out, quint32 value) {
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void appendChunk(QByteArray& out, const char* type, const QByteArray& data) {
    appendBigEndian(out, static_cast<quint32>(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    out += typed;
    appendBigEndian(out, crc32(typed));
}

enum Filter : char { None = 0, Sub = 1, Up = 2 };

// The usual heuristic: the filter whose output bytes, read as signed, sum smallest.
Filter chooseFilter(const uchar* row, const uchar* above, int length) {
    long sums[3] = {0, 0, 0};
    for (int i = 0; i < length; ++i) {
        const int left = i >= 4 ? row[i - 4] : 0;
        const int up = above ? above[i] : 0;
        sums[None] += std::abs(static_cast<signed char>(row[i]));
        sums[Sub] += std::abs(static_cast<signed char>(row[i] - left));
        sums[Up] += std::abs(static_cast<signed char>(row[i] - up));
    }
    Filter best = None;
    for (Filter f : {Sub, Up}) {
        if (sums[f] < sums[best])
            best = f;
    }
    return best;
}

} // namespace

QByteArray PngFile::encode(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGBA8888);
    const int width = image.width();
    const int height = image.height();
    const int length = width * 4;

    QByteArray raw;
    raw.reserve((length + 1) * height);
    for (int y = 0; y < height; ++y) {
        const uchar* row = image.constScanLine(y);
        const uchar* above = y > 0 ? image.constScanLine(y - 1) : nullptr;
        const Filter filter = chooseFilter(row, above, length);
        raw.append(filter);
        for (int i = 0; i < length; ++i) {
            const int left = i >= 4 ? row[i - 4] : 0;
            const int up = above ? above[i] : 0;
            const int predicted = filter == Sub ? left : filter == Up ? up : 0;
            raw.append(static_cast<char>(row[i] - predicted));
        }
    }

    QByteArray header;
    appendBigEndian(header, static_cast<quint32>(width));
    appendBigEndian(header, static_cast<quint32>(height));
    header.append(char(8)); // bits per channel
    header.append(char(6)); // RGBA
    header.append(char(0)); // deflate
    header.append(char(0)); // adaptive filtering
    header.append(char(0)); // not interlaced

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    // qCompress gives a zlib stream behind four bytes of length.
    appendChunk(png, "IDAT", qCompress(raw, 9).mid(4));
    appendChunk(png, "IEND", QByteArray());
    return png;
}
