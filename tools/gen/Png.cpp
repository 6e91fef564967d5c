#include "Png.h"

#include <cstdio>
#include <cstdlib>
#include <zlib.h>

namespace gen {

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutU32(out, uint32_t(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + start, uInt(out.size() - start));
    PutU32(out, uint32_t(crc));
}

int Paeth(int a, int b, int c)
{
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

// One row filtered with filter `type` (0..4), as PNG defines them.
void FilterRow(int type, const uint8_t* row, const uint8_t* prev, size_t len, int bpp,
               std::vector<uint8_t>& out)
{
    out.resize(len);
    for (size_t i = 0; i < len; ++i)
    {
        int a = i >= size_t(bpp) ? row[i - bpp] : 0;
        int b = prev ? prev[i] : 0;
        int c = (prev && i >= size_t(bpp)) ? prev[i - bpp] : 0;
        int x = row[i];
        switch (type)
        {
        case 0: out[i] = uint8_t(x); break;
        case 1: out[i] = uint8_t(x - a); break;
        case 2: out[i] = uint8_t(x - b); break;
        case 3: out[i] = uint8_t(x - (a + b) / 2); break;
        default: out[i] = uint8_t(x - Paeth(a, b, c)); break;
        }
    }
}

} // namespace

std::vector<uint8_t> EncodePng(const Image& image, bool withAlpha)
{
    const int bpp = withAlpha ? 4 : 3;
    const size_t rowLen = size_t(image.width()) * size_t(bpp);

    // Raw rows, then each row with the filter of the smallest absolute sum.
    std::vector<uint8_t> raw(rowLen * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
        {
            const Rgba& p = image.at(x, y);
            uint8_t* d = &raw[size_t(y) * rowLen + size_t(x) * size_t(bpp)];
            d[0] = p.r; d[1] = p.g; d[2] = p.b;
            if (withAlpha)
                d[3] = p.a;
        }

    std::vector<uint8_t> filtered;
    filtered.reserve((rowLen + 1) * size_t(image.height()));
    std::vector<uint8_t> trial, best;
    for (int y = 0; y < image.height(); ++y)
    {
        const uint8_t* row = &raw[size_t(y) * rowLen];
        const uint8_t* prev = y > 0 ? row - rowLen : nullptr;
        long bestSum = -1;
        int bestType = 0;
        for (int type = 0; type < 5; ++type)
        {
            FilterRow(type, row, prev, rowLen, bpp, trial);
            long sum = 0;
            for (uint8_t v : trial)
                sum += v < 128 ? v : 256 - v;
            if (bestSum < 0 || sum < bestSum)
            {
                bestSum = sum;
                bestType = type;
                best = trial;
            }
        }
        filtered.push_back(uint8_t(bestType));
        filtered.insert(filtered.end(), best.begin(), best.end());
    }

    uLongf packedLen = compressBound(uLong(filtered.size()));
    std::vector<uint8_t> packed(packedLen);
    int rc = compress2(packed.data(), &packedLen, filtered.data(), uLong(filtered.size()), 9);
    assert(rc == Z_OK);
    (void)rc;
    packed.resize(packedLen);

    std::vector<uint8_t> out = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    std::vector<uint8_t> header;
    PutU32(header, uint32_t(image.width()));
    PutU32(header, uint32_t(image.height()));
    header.push_back(8);                     // bits per channel
    header.push_back(withAlpha ? 6 : 2);     // RGBA or RGB
    header.push_back(0);                     // deflate
    header.push_back(0);                     // adaptive filtering
    header.push_back(0);                     // not interlaced
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

bool WritePng(const std::string& path, const Image& image, bool withAlpha)
{
    return WriteFile(path, EncodePng(image, withAlpha));
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

} // namespace gen
