// The BMP reader and writer. Every read is bounds-checked against the file in memory; a file
// that does not describe every pixel unambiguously is refused rather than guessed at.
#include "platform/BmpCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>

#include "platform/Errors.h"
#include "platform/FileIO.h"

namespace lf {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;

[[noreturn]] void Refuse(const std::string& why) { throw EInvalidGraphic("Invalid bitmap: " + why); }
[[noreturn]] void Truncated() { Refuse("the file is truncated"); }

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
int32_t S32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

enum class Coding { Plain, Rle8, Rle4, Rle24, BitFields };

// One colour channel of a 16- or 32-bit pixel: where its bits lie and how they map to 0..255.
class Channel {
public:
    Channel() = default;
    explicit Channel(uint32_t mask) : mask_(mask) {
        if (mask == 0) return;  // an absent channel reads as 0
        shift_ = std::countr_zero(mask);
        max_ = mask >> shift_;
        if ((max_ & (max_ + 1)) != 0) Refuse("bad bit fields");  // bits not contiguous
        // Scale to 0..255 by rounding v * 255 / max (never a tie: max is odd), not by shifting,
        // so a 5-bit 31 is 255 and a 5-bit 16 is 132.
        if (max_ < 65536) {
            table_.resize(max_ + 1);
            for (uint32_t v = 0; v <= max_; ++v) table_[v] = Scale(v);
        }
    }
    uint32_t mask() const { return mask_; }
    uint8_t operator()(uint32_t pixel) const {
        if (max_ == 0) return 0;
        const uint32_t v = (pixel & mask_) >> shift_;
        return table_.empty() ? Scale(v) : table_[v];
    }

private:
    uint8_t Scale(uint32_t v) const {
        return static_cast<uint8_t>((uint64_t{v} * 510 + max_) / (uint64_t{max_} * 2));
    }
    uint32_t mask_ = 0;
    int shift_ = 0;
    uint32_t max_ = 0;
    std::vector<uint8_t> table_;
};

struct Layout {
    int32_t width = 0;
    int32_t height = 0;  // always positive; topDown says which way the rows go
    bool topDown = false;
    int bits = 0;
    Coding coding = Coding::Plain;
    Channel red, green, blue;
    std::array<uint8_t, 256 * 3> palette{};  // blue, green, red
    uint32_t colours = 0;
    size_t pixelOffset = 0;
};

Layout ReadLayout(const uint8_t* data, size_t size) {
    if (size < 2 || data[0] != 'B' || data[1] != 'M') Refuse("not a BMP file");
    if (size < kFileHeaderSize + 4) Truncated();
    Layout l;
    const uint32_t pixelOffset = U32(data + 10);
    const uint32_t headerSize = U32(data + 14);
    const uint8_t* h = data + kFileHeaderSize;

    // 12: the OS/2 1.x core header. 40, 52, 56, 108, 124: Windows 3 and V2 to V5. Other sizes up
    // to 64: OS/2 2.x, which may end its header after any field from the 16th byte on. Sizes
    // beyond V5 are taken as later versions that keep its fields.
    const bool core = headerSize == kCoreHeaderSize;
    const bool windows = headerSize == kInfoHeaderSize || headerSize == 52 || headerSize == 56 ||
                         headerSize == 108 || headerSize >= 124;
    const bool os2 = headerSize >= 16 && headerSize <= 64 && !windows;
    if (!core && !windows && !os2) Refuse("unsupported header size " + std::to_string(headerSize));
    if (kFileHeaderSize + size_t{headerSize} > size) Truncated();

    int64_t width, height;
    uint32_t planes, compression = 0, coloursUsed = 0;
    if (core) {
        width = U16(h + 4);
        height = U16(h + 6);
        planes = U16(h + 8);
        l.bits = U16(h + 10);
    } else {
        width = S32(h + 4);
        height = S32(h + 8);
        planes = U16(h + 12);
        l.bits = U16(h + 14);
        if (headerSize >= 20) compression = U32(h + 16);
        if (headerSize >= 36) coloursUsed = U32(h + 32);
    }
    if (planes != 1) Refuse("bad number of planes (" + std::to_string(planes) + ")");
    if (width <= 0 || height == 0) Refuse("bad picture size");
    l.topDown = height < 0;
    height = height < 0 ? -height : height;

    const int bits = l.bits;
    switch (compression) {
        case 0:
            if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
                Refuse("unsupported bit depth " + std::to_string(bits));
            l.coding = bits == 16 || bits == 32 ? Coding::BitFields : Coding::Plain;
            break;
        case 1:
        case 2:
            if (bits != (compression == 1 ? 8 : 4))
                Refuse("RLE compression with a bit depth of " + std::to_string(bits));
            l.coding = compression == 1 ? Coding::Rle8 : Coding::Rle4;
            break;
        case 3:
            if (os2) Refuse("unsupported compression (Huffman)");
            [[fallthrough]];
        case 6:
            if (os2) Refuse("unsupported compression");
            if (bits != 16 && bits != 32) Refuse("bit fields with a bit depth of " + std::to_string(bits));
            l.coding = Coding::BitFields;
            break;
        case 4:
            if (os2 && bits == 24) {
                l.coding = Coding::Rle24;
                break;
            }
            Refuse(os2 ? "unsupported compression" : "unsupported compression (JPEG)");
        case 5:
            Refuse("unsupported compression (PNG)");
        default:
            Refuse("unsupported compression");
    }
    const bool runLength = l.coding == Coding::Rle4 || l.coding == Coding::Rle8 || l.coding == Coding::Rle24;
    if (runLength && l.topDown) Refuse("a compressed bitmap cannot have top-down rows");

    CheckPictureSize(width, height);
    l.width = static_cast<int32_t>(width);
    l.height = static_cast<int32_t>(height);

    size_t tableStart = kFileHeaderSize + headerSize;
    if (l.coding == Coding::BitFields) {
        uint32_t masks[3];
        if (compression == 0) {
            if (bits == 16) {
                masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
            } else {
                masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
            }
        } else {
            // Windows 3 headers carry the masks after the header; later ones inside it.
            const uint8_t* at = h + kInfoHeaderSize;
            if (headerSize == kInfoHeaderSize) {
                tableStart += compression == 6 ? 16 : 12;
                if (tableStart > size) Truncated();
            }
            for (int i = 0; i < 3; ++i) masks[i] = U32(at + 4 * i);
        }
        const uint64_t limit = bits == 16 ? 0xFFFF : 0xFFFFFFFF;
        if ((masks[0] | masks[1] | masks[2]) > limit || (masks[0] | masks[1] | masks[2]) == 0 ||
            (masks[0] & masks[1]) != 0 || (masks[0] & masks[2]) != 0 || (masks[1] & masks[2]) != 0)
            Refuse("bad bit fields");
        l.red = Channel(masks[0]);
        l.green = Channel(masks[1]);
        l.blue = Channel(masks[2]);
    }

    if (pixelOffset > size) Truncated();
    if (pixelOffset < tableStart) Refuse("bad pixel data offset");
    l.pixelOffset = pixelOffset;

    if (bits <= 8) {
        // The table may be shorter than the bit depth allows (the rest is then never used) but
        // not longer; it ends where the pixels begin.
        const size_t entrySize = core ? 3 : 4;
        const uint32_t most = 1u << bits;
        size_t colours = coloursUsed == 0 ? most : std::min(coloursUsed, most);
        colours = std::min(colours, (pixelOffset - tableStart) / entrySize);
        if (colours == 0) Refuse("the palette is missing");
        l.colours = static_cast<uint32_t>(colours);
        for (size_t i = 0; i < colours; ++i)
            std::memcpy(&l.palette[i * 3], data + tableStart + i * entrySize, 3);
    }
    return l;
}

[[noreturn]] void IndexOutOfRange() { Refuse("palette index out of range"); }

}  // namespace

void ClearRowPadding(Bitmap& picture) {
    const size_t used = static_cast<size_t>(picture.Width()) * 3;
    if (picture.Stride() == used) return;
    for (int32_t y = 0; y < picture.Height(); ++y)
        std::memset(picture.ScanLine(y) + used, 0, picture.Stride() - used);
}

namespace {

void DecodePlain(const Layout& l, const uint8_t* pixels, size_t available, Bitmap& picture) {
    const size_t rowBytes = (static_cast<size_t>(l.width) * l.bits + 31) / 32 * 4;
    if (rowBytes * static_cast<size_t>(l.height) > available) Truncated();
    picture.SetSizeUninitialised(l.width, l.height);
    ClearRowPadding(picture);
    const size_t width = static_cast<size_t>(l.width);
    const bool defaultRgb32 =
        l.bits == 32 && l.red.mask() == 0xFF0000 && l.green.mask() == 0xFF00 && l.blue.mask() == 0xFF;
    for (int32_t r = 0; r < l.height; ++r) {
        const uint8_t* src = pixels + static_cast<size_t>(r) * rowBytes;
        uint8_t* dst = picture.ScanLine(l.topDown ? r : l.height - 1 - r);
        if (l.bits == 24) {
            std::memcpy(dst, src, width * 3);
        } else if (defaultRgb32) {
            for (size_t x = 0; x < width; ++x, src += 4, dst += 3) {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
            }
        } else if (l.bits == 16 || l.bits == 32) {
            const size_t step = l.bits / 8;
            for (size_t x = 0; x < width; ++x, src += step, dst += 3) {
                const uint32_t v = step == 2 ? U16(src) : U32(src);
                dst[0] = l.blue(v);
                dst[1] = l.green(v);
                dst[2] = l.red(v);
            }
        } else if (l.bits == 8) {
            for (size_t x = 0; x < width; ++x, dst += 3) {
                const uint32_t index = src[x];
                if (index >= l.colours) IndexOutOfRange();
                std::memcpy(dst, &l.palette[index * 3], 3);
            }
        } else {
            // 1, 2 or 4 bits: the leftmost pixel in the highest bits of each byte.
            const int bits = l.bits;
            const uint32_t mask = (1u << bits) - 1;
            for (size_t x = 0; x < width; ++x, dst += 3) {
                const size_t bit = x * bits;
                const uint32_t index = (src[bit / 8] >> (8 - bits - bit % 8)) & mask;
                if (index >= l.colours) IndexOutOfRange();
                std::memcpy(dst, &l.palette[index * 3], 3);
            }
        }
    }
}

// RLE4, RLE8 and OS/2 RLE24. Pixels the codes skip (by a delta, an early end of line or of the
// picture) are black, whatever the palette holds. Runs that leave the picture, unknown
// codes and data that ends before the picture is complete are refused.
void DecodeRunLength(const Layout& l, const uint8_t* p, const uint8_t* end, Bitmap& picture) {
    picture.SetSize(l.width, l.height);  // black where the codes skip pixels

    const auto bad = [] { Refuse("bad RLE data"); };
    const int32_t width = l.width, height = l.height;
    int32_t x = 0, y = 0;  // y counts file rows, from the bottom
    const auto target = [&](int32_t count) {
        if (y >= height || count > width - x) bad();
        uint8_t* at = picture.ScanLine(height - 1 - y) + 3 * static_cast<size_t>(x);
        x += count;
        return at;
    };
    const auto colour = [&](uint32_t index) {
        if (index >= l.colours) IndexOutOfRange();
        return &l.palette[index * 3];
    };

    for (;;) {
        if (end - p < 2) {
            // A missing end-of-picture code is forgiven once every row has been given.
            if (y >= height || (y == height - 1 && x == width && p == end)) return;
            Truncated();
        }
        const uint32_t count = p[0];
        if (count > 0) {
            if (l.coding == Coding::Rle24) {
                if (end - p < 4) Truncated();
                uint8_t* dst = target(static_cast<int32_t>(count));
                for (uint32_t i = 0; i < count; ++i, dst += 3) std::memcpy(dst, p + 1, 3);
                p += 4;
            } else if (l.coding == Coding::Rle8) {
                uint8_t* dst = target(static_cast<int32_t>(count));
                const uint8_t* c = colour(p[1]);
                for (uint32_t i = 0; i < count; ++i, dst += 3) std::memcpy(dst, c, 3);
                p += 2;
            } else {
                uint8_t* dst = target(static_cast<int32_t>(count));
                const uint8_t* c[2] = {colour(p[1] >> 4), colour(p[1] & 15)};
                for (uint32_t i = 0; i < count; ++i, dst += 3) std::memcpy(dst, c[i & 1], 3);
                p += 2;
            }
            continue;
        }
        const uint32_t code = p[1];
        p += 2;
        if (code == 0) {  // end of line
            x = 0;
            ++y;
        } else if (code == 1) {  // end of picture
            return;
        } else if (code == 2) {  // move right and up
            if (end - p < 2) Truncated();
            x += p[0];
            y += p[1];
            p += 2;
            if (x > width || y > height) bad();
        } else {  // a literal run of code pixels, padded to a whole number of 16-bit words
            const size_t bytes = l.coding == Coding::Rle24  ? code * 3
                                 : l.coding == Coding::Rle8 ? code
                                                            : (code + 1) / 2;
            const size_t padded = (bytes + 1) & ~size_t{1};
            if (static_cast<size_t>(end - p) < padded) Truncated();
            uint8_t* dst = target(static_cast<int32_t>(code));
            for (uint32_t i = 0; i < code; ++i, dst += 3) {
                if (l.coding == Coding::Rle24)
                    std::memcpy(dst, p + 3 * i, 3);
                else if (l.coding == Coding::Rle8)
                    std::memcpy(dst, colour(p[i]), 3);
                else
                    std::memcpy(dst, colour(i % 2 == 0 ? p[i / 2] >> 4 : p[i / 2] & 15), 3);
            }
            p += padded;
        }
    }
}

}  // namespace

Bitmap ReadBmp(const uint8_t* data, size_t size) {
    const Layout layout = ReadLayout(data, size);
    Bitmap picture;
    if (layout.coding == Coding::Plain || layout.coding == Coding::BitFields)
        DecodePlain(layout, data + layout.pixelOffset, size - layout.pixelOffset, picture);
    else
        DecodeRunLength(layout, data + layout.pixelOffset, data + size, picture);
    return picture;
}

namespace {

constexpr size_t kWrittenHeaders = kFileHeaderSize + kInfoHeaderSize;

// The two headers of the file we write for picture.
std::array<uint8_t, kWrittenHeaders> WrittenHeaders(const Bitmap& picture) {
    if (picture.Empty()) throw Error("There is no picture to save");
    const size_t imageSize = picture.Stride() * static_cast<size_t>(picture.Height());
    std::array<uint8_t, kWrittenHeaders> f{};
    f[0] = 'B';
    f[1] = 'M';
    Put32(f.data() + 2, static_cast<uint32_t>(kWrittenHeaders + imageSize));
    Put32(f.data() + 10, static_cast<uint32_t>(kWrittenHeaders));
    uint8_t* h = f.data() + kFileHeaderSize;
    Put32(h, kInfoHeaderSize);
    Put32(h + 4, static_cast<uint32_t>(picture.Width()));
    Put32(h + 8, static_cast<uint32_t>(picture.Height()));  // positive: bottom-up
    Put16(h + 12, 1);                                       // planes
    Put16(h + 14, 24);                                      // bits per pixel
    Put32(h + 16, 0);                                       // no compression
    Put32(h + 20, static_cast<uint32_t>(imageSize));
    Put32(h + 24, 2835);  // 72 dots per inch, in pixels per metre
    Put32(h + 28, 2835);
    return f;
}

}  // namespace

// The file's rows are the picture's rows (3 × width padded to 4 bytes) bottom-up; the padding
// bytes are written as zeros rather than copied from the buffer.
void WriteBmp(const Bitmap& picture, std::vector<uint8_t>& out) {
    const auto headers = WrittenHeaders(picture);
    const size_t rowBytes = picture.Stride();
    const size_t rowPixels = static_cast<size_t>(picture.Width()) * 3;
    out.assign(headers.size() + rowBytes * static_cast<size_t>(picture.Height()), 0);
    std::memcpy(out.data(), headers.data(), headers.size());
    uint8_t* rows = out.data() + headers.size();
    for (int32_t r = 0; r < picture.Height(); ++r)
        std::memcpy(rows + static_cast<size_t>(r) * rowBytes, picture.ScanLine(picture.Height() - 1 - r),
                    rowPixels);
}

// Streams the rows to the file rather than building the whole file in memory first.
void SaveBmpFile(const Bitmap& picture, const std::string& path) {
    const auto headers = WrittenHeaders(picture);
    const size_t rowPixels = static_cast<size_t>(picture.Width()) * 3;
    const uint8_t padding[3] = {0, 0, 0};
    WriteFileAtomically(path, [&](const ByteSink& sink) {
        sink(headers.data(), headers.size());
        for (int32_t r = picture.Height() - 1; r >= 0; --r) {
            sink(picture.ScanLine(r), rowPixels);
            sink(padding, picture.Stride() - rowPixels);
        }
    });
}

Bitmap LoadBmpFile(const std::string& path) {
    const FileContents file(path);
    return ReadBmp(file.data(), file.size());
}

}  // namespace lf
