// SPDX-License-Identifier: MIT
#include "export/transg.h"

#include "common/savefile.h"

#include <QFileDevice>
#include <QString>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace velmix {

namespace {

Failure Fault(FailureKind kind)
{
    return {kind};
}

// RGB bytes of row y of the image.
void FillRow(const StripImage& img, int y, unsigned char* rgb)
{
    const auto w = static_cast<std::size_t>(img.width());
    const auto put = [rgb](std::size_t x, Colour c) {
        rgb[3 * x] = static_cast<unsigned char>(GetRed(c));
        rgb[3 * x + 1] = static_cast<unsigned char>(GetGreen(c));
        rgb[3 * x + 2] = static_cast<unsigned char>(GetBlue(c));
    };
    if (img.vertical && !img.dither.empty()) {
        // One colour a row, its dither pattern repeating across.
        const std::size_t n = img.line.size();
        for (std::size_t x = 0; x < w; ++x)
            put(x, img.dither[(x % kDitherSize) * n + static_cast<std::size_t>(y)]);
        return;
    }
    if (img.vertical) {
        const Colour c = img.line[static_cast<std::size_t>(y)];
        for (std::size_t x = 0; x < w; ++x)
            put(x, c);
        return;
    }
    const Colour* line = img.dither.empty()
                             ? img.line.data()
                             : img.dither.data() + static_cast<std::size_t>(y % kDitherSize) * w;
    for (std::size_t x = 0; x < w; ++x)
        put(x, line[x]);
}

// Collects output in large pieces, so a thick image is not written a row at a
// time through the file layer.
class BufferedSink
{
public:
    explicit BufferedSink(QFileDevice& f) : m_file(f) { m_buf.reserve(kChunk); }
    bool write(const void* data, std::size_t n)
    {
        const auto* p = static_cast<const char*>(data);
        while (n > 0) {
            const std::size_t take = std::min(n, kChunk - m_buf.size());
            m_buf.insert(m_buf.end(), p, p + take);
            p += take;
            n -= take;
            if (m_buf.size() == kChunk && !flush())
                return false;
        }
        return true;
    }
    bool flush()
    {
        if (m_buf.empty())
            return true;
        const bool ok = WriteFully(m_file, m_buf.data(), static_cast<qint64>(m_buf.size()));
        m_buf.clear();
        return ok;
    }

private:
    static constexpr std::size_t kChunk = 1 << 20;
    QFileDevice& m_file;
    std::vector<char> m_buf;
};

// --- PNG ---------------------------------------------------------------

struct PngContext
{
    QFileDevice* file = nullptr;
    bool writeFailed = false;
    std::jmp_buf jump{};
};

void PngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* ctx = static_cast<PngContext*>(png_get_io_ptr(png));
    if (!WriteFully(*ctx->file, reinterpret_cast<const char*>(data), static_cast<qint64>(length))) {
        ctx->writeFailed = true;
        png_error(png, "write failed");
    }
}

void PngFlush(png_structp) {}

void PngError(png_structp png, png_const_charp)
{
    auto* ctx = static_cast<PngContext*>(png_get_error_ptr(png));
    std::longjmp(ctx->jump, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// How hard deflate works. Z_RLE looks only one byte back and ignores the
// level; the default strategy searches the window, as far as the level says.
struct DeflateMode
{
    int level;
    int strategy;
};

// A raw deflate stream (the zlib header and checksum are written by the
// caller), appending its output to a vector.
class RawDeflate
{
public:
    RawDeflate(DeflateMode mode, std::vector<unsigned char>& out) : m_out(out)
    {
        m_ok = deflateInit2(&m_zs, mode.level, Z_DEFLATED, -15, 9, mode.strategy) == Z_OK;
    }
    ~RawDeflate()
    {
        if (m_ok)
            deflateEnd(&m_zs);
    }
    RawDeflate(const RawDeflate&) = delete;
    RawDeflate& operator=(const RawDeflate&) = delete;

    // flush: Z_NO_FLUSH, Z_FULL_FLUSH (byte-aligned, nothing after it refers
    // back before it) or Z_FINISH (the last block).
    bool feed(const unsigned char* data, std::size_t n, int flush)
    {
        if (!m_ok)
            return false;
        unsigned char buf[1 << 16];
        m_zs.next_in = const_cast<unsigned char*>(data);
        m_zs.avail_in = static_cast<uInt>(n);
        int rc = Z_OK;
        do {
            m_zs.next_out = buf;
            m_zs.avail_out = sizeof buf;
            rc = deflate(&m_zs, flush);
            m_out.insert(m_out.end(), buf, buf + (sizeof buf - m_zs.avail_out));
        } while (m_zs.avail_out == 0 || (flush == Z_FINISH && rc == Z_OK));
        return flush == Z_FINISH ? rc == Z_STREAM_END : rc == Z_OK || rc == Z_BUF_ERROR;
    }

private:
    z_stream m_zs{};
    std::vector<unsigned char>& m_out;
    bool m_ok = false;
};

// One self-contained stream over `data`: finished, or fully flushed so that
// its bytes may be repeated anywhere after a byte boundary.
bool Deflate(const unsigned char* data, std::size_t n, DeflateMode mode, bool finish,
             std::vector<unsigned char>& out)
{
    RawDeflate d(mode, out);
    return d.feed(data, n, finish ? Z_FINISH : Z_FULL_FLUSH);
}

// The zlib stream of the filtered rows. Rows of a left-to-right gradient are
// all equal: row 0 is Sub-filtered, every later row Up-filtered to zeros, and
// a block of zero rows is compressed once and its bytes repeated.
bool CompressRows(const StripImage& img, DeflateMode mode, std::vector<unsigned char>& out)
{
    const std::size_t rowBytes = 1 + 3 * static_cast<std::size_t>(img.width());
    const int h = img.height();
    std::vector<unsigned char> row(rowBytes, 0);
    std::vector<unsigned char> rgb(rowBytes - 1);
    out = {0x78, 0xDA};
    uLong adler = adler32(0L, Z_NULL, 0);

    const auto subFilter = [&](int y) {
        FillRow(img, y, rgb.data());
        row[0] = 1;
        for (std::size_t i = 0; i < rgb.size(); ++i)
            row[1 + i] = static_cast<unsigned char>(rgb[i] - (i >= 3 ? rgb[i - 3] : 0));
    };

    if (img.rowsIdentical()) {
        subFilter(0);
        adler = adler32(adler, row.data(), static_cast<uInt>(rowBytes));
        if (!Deflate(row.data(), rowBytes, mode, h == 1, out))
            return false;
        if (h > 1) {
            const std::size_t unitRows =
                std::max<std::size_t>(1, std::min<std::size_t>(h - 1, (1u << 20) / rowBytes));
            std::vector<unsigned char> zeros(unitRows * rowBytes, 0);
            for (std::size_t r = 0; r < unitRows; ++r)
                zeros[r * rowBytes] = 2;
            const std::size_t units = (static_cast<std::size_t>(h) - 1) / unitRows;
            const std::size_t rest = (static_cast<std::size_t>(h) - 1) % unitRows;
            const std::size_t repeated = rest == 0 ? units - 1 : units;
            if (repeated > 0) {
                std::vector<unsigned char> unit;
                if (!Deflate(zeros.data(), zeros.size(), mode, false, unit))
                    return false;
                const uLong unitAdler =
                    adler32(adler32(0L, Z_NULL, 0), zeros.data(), static_cast<uInt>(zeros.size()));
                for (std::size_t u = 0; u < repeated; ++u) {
                    out.insert(out.end(), unit.begin(), unit.end());
                    adler = adler32_combine(adler, unitAdler, static_cast<z_off_t>(zeros.size()));
                }
            }
            const std::size_t lastRows = rest == 0 ? unitRows : rest;
            adler = adler32(adler, zeros.data(), static_cast<uInt>(lastRows * rowBytes));
            if (!Deflate(zeros.data(), lastRows * rowBytes, mode, true, out))
                return false;
        }
    } else if (!img.vertical) {
        // A dithered left-to-right image repeats every kDitherSize rows: a
        // block of whole periods is compressed once and its bytes repeated.
        const std::size_t period = kDitherSize;
        const std::size_t unitRows =
            period * std::max<std::size_t>(1, ((1u << 20) / rowBytes) / period);
        std::vector<unsigned char> block;
        block.reserve(unitRows * rowBytes);
        for (std::size_t y = 0; y < std::min<std::size_t>(unitRows, h); ++y) {
            subFilter(static_cast<int>(y));
            block.insert(block.end(), row.begin(), row.end());
        }
        const std::size_t rows = static_cast<std::size_t>(h);
        const std::size_t whole = rows / unitRows;
        const std::size_t rest = rows % unitRows;
        const std::size_t repeated = rest == 0 ? whole - 1 : whole;
        // Only the window search finds the rows a period back, and the block
        // is compressed once, whatever the option.
        constexpr DeflateMode kSearch{9, Z_DEFAULT_STRATEGY};
        if (repeated > 0) {
            std::vector<unsigned char> unit;
            if (!Deflate(block.data(), block.size(), kSearch, false, unit))
                return false;
            const uLong unitAdler =
                adler32(adler32(0L, Z_NULL, 0), block.data(), static_cast<uInt>(block.size()));
            for (std::size_t u = 0; u < repeated; ++u) {
                out.insert(out.end(), unit.begin(), unit.end());
                adler = adler32_combine(adler, unitAdler, static_cast<z_off_t>(block.size()));
            }
        }
        const std::size_t lastBytes = (rest == 0 ? std::min(unitRows, rows) : rest) * rowBytes;
        adler = adler32(adler, block.data(), static_cast<uInt>(lastBytes));
        if (!Deflate(block.data(), lastBytes, kSearch, true, out))
            return false;
    } else {
        RawDeflate d(mode, out);
        for (int y = 0; y < h; ++y) {
            subFilter(y);
            adler = adler32(adler, row.data(), static_cast<uInt>(rowBytes));
            if (!d.feed(row.data(), rowBytes, y == h - 1 ? Z_FINISH : Z_NO_FLUSH))
                return false;
        }
    }
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>((adler >> shift) & 0xFF));
    return true;
}

// The image data for a PNG option. Z_RLE is the fastest, and the smallest for
// left-to-right gradients (one row, then zeros); a search of the whole window
// (level 9) is up to 9% smaller for top-to-bottom ones, at about three times
// the time. "Smallest" tries both and keeps the smaller; "balanced" does so
// for top-to-bottom images of up to 32 MiB of row data (5592 x 2000 pixels);
// "fastest" runs Z_RLE alone. Figures in bench/README.md.
bool CompressForOption(const StripImage& img, int option, std::vector<unsigned char>& idat)
{
    constexpr DeflateMode kRle{6, Z_RLE};
    constexpr DeflateMode kSearch{9, Z_DEFAULT_STRATEGY};
    constexpr std::size_t kBalancedLimit = 32u << 20;
    if (!CompressRows(img, kRle, idat))
        return false;
    const std::size_t rowData =
        (1 + 3 * static_cast<std::size_t>(img.width())) * static_cast<std::size_t>(img.height());
    if (option == 0 || (option == 1 && img.vertical && rowData <= kBalancedLimit)) {
        std::vector<unsigned char> searched;
        if (!CompressRows(img, kSearch, searched))
            return false;
        if (searched.size() < idat.size())
            idat.swap(searched);
    }
    return true;
}

Result WritePng(QFileDevice& file, const StripImage& img, int option)
{
    std::vector<unsigned char> idat;
    if (!CompressForOption(img, option, idat))
        return Fault(FailureKind::FormatError);
    PngContext ctx;
    ctx.file = &file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, PngError, PngWarning);
    if (!png)
        return Fault(FailureKind::StackOverflow);
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return Fault(FailureKind::StackOverflow);
    }
    if (setjmp(ctx.jump)) {
        png_destroy_write_struct(&png, &info);
        return Fault(ctx.writeFailed ? FailureKind::WriteFailed : FailureKind::FormatError);
    }
    png_set_write_fn(png, &ctx, PngWrite, PngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(img.width()),
                 static_cast<png_uint_32>(img.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // The image data is already a complete zlib stream; libpng frames it.
    constexpr std::size_t kChunk = 1 << 20;
    for (std::size_t off = 0; off < idat.size(); off += kChunk)
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), idat.data() + off,
                        std::min(kChunk, idat.size() - off));
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    png_destroy_write_struct(&png, &info);
    return {};
}

// --- JPEG --------------------------------------------------------------

struct JpegContext
{
    jpeg_error_mgr err{};
    jpeg_destination_mgr dest{};
    std::jmp_buf jump{};
    QFileDevice* file = nullptr;
    bool writeFailed = false;
    std::vector<JOCTET> buffer;
};

void JpegErrorExit(j_common_ptr cinfo)
{
    auto* ctx = reinterpret_cast<JpegContext*>(cinfo->err);
    std::longjmp(ctx->jump, 1);
}

void JpegOutputMessage(j_common_ptr) {}

JpegContext* ContextOf(j_compress_ptr cinfo)
{
    return reinterpret_cast<JpegContext*>(cinfo->err);
}

void JpegInitDest(j_compress_ptr cinfo)
{
    JpegContext* ctx = ContextOf(cinfo);
    cinfo->dest->next_output_byte = ctx->buffer.data();
    cinfo->dest->free_in_buffer = ctx->buffer.size();
}

boolean JpegEmpty(j_compress_ptr cinfo)
{
    JpegContext* ctx = ContextOf(cinfo);
    const auto n = static_cast<qint64>(ctx->buffer.size());
    if (ctx->file &&
        !WriteFully(*ctx->file, reinterpret_cast<const char*>(ctx->buffer.data()), n)) {
        ctx->writeFailed = true;
        std::longjmp(ctx->jump, 1);
    }
    JpegInitDest(cinfo);
    return TRUE;
}

void JpegTerm(j_compress_ptr cinfo)
{
    JpegContext* ctx = ContextOf(cinfo);
    const auto n = static_cast<qint64>(ctx->buffer.size() - cinfo->dest->free_in_buffer);
    if (ctx->file &&
        !WriteFully(*ctx->file, reinterpret_cast<const char*>(ctx->buffer.data()), n)) {
        ctx->writeFailed = true;
        std::longjmp(ctx->jump, 1);
    }
}

// Huffman tables of one compression, to reuse in another.
struct JpegTables
{
    struct Table
    {
        UINT8 bits[17];
        UINT8 huffval[256];
    };
    Table dc[2];
    Table ac[2];
};

// One compression of the image. file null: the output is discarded (a pass
// that only gathers statistics). fixed: Huffman tables to use instead of
// optimising them; gathered: where the optimised tables go.
Result RunJpeg(QFileDevice* file, const StripImage& img, int quality, const JpegTables* fixed,
               JpegTables* gathered)
{
    JpegContext ctx;
    ctx.file = file;
    ctx.buffer.resize(1 << 16);
    std::vector<unsigned char> row(3 * static_cast<std::size_t>(img.width()));
    jpeg_compress_struct cinfo{};
    cinfo.err = jpeg_std_error(&ctx.err);
    ctx.err.error_exit = JpegErrorExit;
    ctx.err.output_message = JpegOutputMessage;
    if (setjmp(ctx.jump)) {
        jpeg_destroy_compress(&cinfo);
        return Fault(ctx.writeFailed ? FailureKind::WriteFailed : FailureKind::FormatError);
    }
    jpeg_create_compress(&cinfo);
    ctx.dest.init_destination = JpegInitDest;
    ctx.dest.empty_output_buffer = JpegEmpty;
    ctx.dest.term_destination = JpegTerm;
    cinfo.dest = &ctx.dest;
    cinfo.image_width = static_cast<JDIMENSION>(img.width());
    cinfo.image_height = static_cast<JDIMENSION>(img.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    // Gradients are pure colour: keep full chroma resolution (4:4:4).
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    const auto copyTables = [&](JHUFF_TBL** from, JpegTables::Table* to, bool in) {
        for (int t = 0; t < 2; ++t) {
            if (in) {
                std::memcpy(from[t]->bits, to[t].bits, sizeof to[t].bits);
                std::memcpy(from[t]->huffval, to[t].huffval, sizeof to[t].huffval);
            } else {
                std::memcpy(to[t].bits, from[t]->bits, sizeof to[t].bits);
                std::memcpy(to[t].huffval, from[t]->huffval, sizeof to[t].huffval);
            }
        }
    };
    cinfo.optimize_coding = fixed ? FALSE : TRUE;
    if (fixed) {
        auto tables = *fixed;
        copyTables(cinfo.dc_huff_tbl_ptrs, tables.dc, true);
        copyTables(cinfo.ac_huff_tbl_ptrs, tables.ac, true);
    }
    jpeg_start_compress(&cinfo, TRUE);
    if (img.rowsIdentical())
        FillRow(img, 0, row.data());
    while (cinfo.next_scanline < cinfo.image_height) {
        if (!img.rowsIdentical())
            FillRow(img, static_cast<int>(cinfo.next_scanline), row.data());
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    if (gathered) {
        copyTables(cinfo.dc_huff_tbl_ptrs, gathered->dc, false);
        copyTables(cinfo.ac_huff_tbl_ptrs, gathered->ac, false);
    }
    jpeg_destroy_compress(&cinfo);
    return {};
}

Result WriteJpeg(QFileDevice& file, const StripImage& img, int quality)
{
    // Optimised Huffman tables need every coefficient of the image in memory
    // (6 bytes a pixel). Beyond this, the tables are optimised on a slice of
    // the image instead: every line across a gradient is the same, so a slice
    // of full length has the same statistics in proportion.
    constexpr std::size_t kWholeImageLimit = 32u << 20;
    const std::size_t coefficients =
        static_cast<std::size_t>(img.width()) * static_cast<std::size_t>(img.height()) * 6;
    if (coefficients <= kWholeImageLimit)
        return RunJpeg(&file, img, quality, nullptr, nullptr);
    StripImage slice = img;
    slice.thickness = std::min(img.thickness, 64);
    JpegTables tables{};
    if (Result r = RunJpeg(nullptr, slice, quality, nullptr, &tables); !r.ok())
        return r;
    return RunJpeg(&file, img, quality, &tables, nullptr);
}

template <typename Writer> Result SaveWith(const std::string& path, FailedTask task, Writer writer)
{
    Result written;
    Result saved = SaveThrough(QString::fromStdString(path), [&](QFileDevice& f) {
        written = writer(f);
        return written.ok();
    });
    // The encoder's own fault: the system has nothing to say.
    if (!written.ok() && written.failure().kind != FailureKind::WriteFailed)
        return Failure{written.failure().kind, path, {}, task};
    return std::move(saved).during(task);
}

bool Valid(const StripImage& img)
{
    return !img.line.empty() && img.thickness >= 1;
}

} // namespace

Result DCSavetoPNG(const StripImage& image, const std::string& path, int option)
{
    if (!Valid(image))
        return Failure{FailureKind::FormatError, path, {}, FailedTask::SavePng};
    return SaveWith(path, FailedTask::SavePng,
                    [&](QFileDevice& f) { return WritePng(f, image, option); });
}

Result DCSavetoJPEG(const StripImage& image, const std::string& path, int quality, int)
{
    if (!Valid(image) || image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION)
        return Failure{FailureKind::FormatError, path, {}, FailedTask::SaveJpeg};
    quality = std::clamp(quality, 1, 100);
    return SaveWith(path, FailedTask::SaveJpeg,
                    [&](QFileDevice& f) { return WriteJpeg(f, image, quality); });
}

Result SaveBitmapFile(const StripImage& image, const std::string& path)
{
    if (!Valid(image))
        return Failure{FailureKind::WriteFailed, path, "empty image", FailedTask::SaveBmp};
    // The header holds the file's size in 32 bits.
    const std::uint64_t stride = (3 * static_cast<std::uint64_t>(image.width()) + 3) & ~3ull;
    if (54 + stride * static_cast<std::uint64_t>(image.height()) > UINT32_MAX)
        return Failure{FailureKind::WriteFailed, path, "image too large for a bitmap file",
                       FailedTask::SaveBmp};
    return SaveWith(path, FailedTask::SaveBmp, [&](QFileDevice& f) -> Result {
        const int w = image.width();
        const int h = image.height();
        const std::uint32_t stride = (3u * static_cast<std::uint32_t>(w) + 3u) & ~3u;
        const std::uint32_t dataSize = stride * static_cast<std::uint32_t>(h);
        unsigned char header[54] = {};
        const auto put32 = [&](int at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i)
                header[at + i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
        };
        header[0] = 'B';
        header[1] = 'M';
        put32(2, 54 + dataSize);
        put32(10, 54);
        put32(14, 40);
        put32(18, static_cast<std::uint32_t>(w));
        put32(22, static_cast<std::uint32_t>(h));
        header[26] = 1;  // planes
        header[28] = 24; // bits per pixel
        put32(34, dataSize);
        put32(38, 3780); // 96 dpi
        put32(42, 3780);
        BufferedSink sink(f);
        if (!sink.write(header, sizeof header))
            return Fault(FailureKind::WriteFailed);
        std::vector<unsigned char> rgb(3 * static_cast<std::size_t>(w));
        std::vector<unsigned char> row(stride, 0);
        const auto makeRow = [&](int y) {
            FillRow(image, y, rgb.data());
            for (std::size_t x = 0; x < static_cast<std::size_t>(w); ++x) {
                row[3 * x] = rgb[3 * x + 2];
                row[3 * x + 1] = rgb[3 * x + 1];
                row[3 * x + 2] = rgb[3 * x];
            }
        };
        if (image.rowsIdentical())
            makeRow(0);
        // Bottom-up, as the format stores rows.
        for (int y = h - 1; y >= 0; --y) {
            if (!image.rowsIdentical())
                makeRow(y);
            if (!sink.write(row.data(), row.size()))
                return Fault(FailureKind::WriteFailed);
        }
        return sink.flush() ? Result() : Fault(FailureKind::WriteFailed);
    });
}

Result SaveTextFile(const std::string& text, const std::string& path)
{
    return SaveWith(path, FailedTask::SaveFile, [&](QFileDevice& f) -> Result {
        return WriteFully(f, text.data(), static_cast<qint64>(text.size()))
                   ? Result()
                   : Fault(FailureKind::WriteFailed);
    });
}

} // namespace velmix
