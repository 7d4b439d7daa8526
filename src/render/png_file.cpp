#include "render/png_file.h"

#include <QSysInfo>

#include <png.h>
#include <zlib.h>

#include <stdexcept>

namespace movra {

namespace {

struct PngOutput {
    std::string* bytes;
    bool failed = false;
};

void Append(png_structp png, png_bytep data, png_size_t size)
{
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    try {
        output->bytes->append(reinterpret_cast<const char*>(data), size);
    } catch (...) {
        output->failed = true;
        png_error(png, "out of memory");
    }
}

void Flush(png_structp) {}

// libpng reports failure by a long jump back here, so this frame holds no
// object with a destructor. The image is 32-bit (Format_RGB32 or like it).
bool Encode(const QImage& image, PngOutput& output)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &output, Append, Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
        png_set_pHYs(png, info, static_cast<png_uint_32>(image.dotsPerMeterX()),
                     static_cast<png_uint_32>(image.dotsPerMeterY()), PNG_RESOLUTION_METER);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    // Pixels are 0xAARRGGBB words: B, G, R, A in memory on little-endian
    // machines, A, R, G, B on big-endian ones.
    if (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    } else {
        png_set_filler(png, 0, PNG_FILLER_BEFORE);
    }
    for (int y = 0; y < image.height(); ++y) png_write_row(png, image.constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::string PngBytes(const QImage& image)
{
    const QImage rgb = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    std::string bytes;
    PngOutput output{&bytes};
    if (rgb.isNull() || !Encode(rgb, output) || output.failed) throw std::runtime_error("Cannot write the PNG figure.");
    return bytes;
}

} // namespace movra
