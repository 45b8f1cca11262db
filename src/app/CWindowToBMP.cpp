#include "app/CWindowToBMP.h"

#include "files/AtomicFileWriter.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <cstdint>

namespace {
void put16(QByteArray& out, std::uint16_t value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

void put32(QByteArray& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(static_cast<char>((value >> shift) & 0xFF));
}
}

QByteArray CWindowToBMP::bitmapFile(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB888);
    const std::uint32_t width = static_cast<std::uint32_t>(image.width());
    const std::uint32_t height = static_cast<std::uint32_t>(image.height());
    const std::uint32_t bitCount = 24;
    const std::uint32_t rowSize = ((width * bitCount + 31) / 32) * 4;
    const std::uint32_t imageSize = rowSize * height;
    const std::uint32_t headerSize = 40;
    const std::uint32_t pixelOffset = 14 + headerSize;

    QByteArray out;
    out.reserve(static_cast<qsizetype>(pixelOffset + imageSize));
    out.append("BM", 2);
    put32(out, pixelOffset + imageSize);
    put16(out, 0);
    put16(out, 0);
    put32(out, pixelOffset);

    put32(out, headerSize);
    put32(out, width);
    put32(out, height);
    put16(out, 1);
    put16(out, static_cast<std::uint16_t>(bitCount));
    put32(out, 0);  // no compression
    put32(out, imageSize);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);

    const QByteArray padding(static_cast<qsizetype>(rowSize - width * 3), '\0');
    for (int y = image.height() - 1; y >= 0; --y)
    {
        const uchar* row = image.constScanLine(y);
        for (std::uint32_t x = 0; x < width; ++x)
        {
            // Blue, green, red.
            out.append(static_cast<char>(row[3 * x + 2]));
            out.append(static_cast<char>(row[3 * x + 1]));
            out.append(static_cast<char>(row[3 * x]));
        }
        out.append(padding);
    }
    return out;
}

bool CWindowToBMP::saveWindow(QWidget* window, const QString& fileName) const
{
    if (!window)
        return false;
    const QImage picture = window->grab().toImage();
    if (picture.isNull())
        return false;
    const QByteArray bytes = bitmapFile(picture);
    return !writeFileAtomically(QFile::encodeName(fileName).toStdString(),
                                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}
