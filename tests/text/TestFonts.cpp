#include "TestFonts.h"

#include <algorithm>

namespace
{

void B16(std::string& s, uint32_t v)
{
    s += char((v >> 8) & 0xff);
    s += char(v & 0xff);
}

void B32(std::string& s, uint32_t v)
{
    B16(s, v >> 16);
    B16(s, v & 0xffff);
}

void Pad4(std::string& s)
{
    while (s.size() % 4)
        s += '\0';
}

} // namespace

std::string MakeTestFont(const std::vector<TestGlyph>& glyphs, uint16_t unitsPerEm)
{
    // Glyph 0 is the empty .notdef; glyph n + 1 is glyphs[n].
    const uint32_t numGlyphs = uint32_t(glyphs.size() + 1);

    std::string glyf, loca, hmtx;
    B32(loca, 0);   // .notdef starts and ends at 0
    B32(loca, 0);
    B16(hmtx, unitsPerEm / 2);
    B16(hmtx, 0);
    int16_t xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    uint16_t maxAdvance = unitsPerEm / 2;
    for (const TestGlyph& g : glyphs)
    {
        if (g.x1 > g.x0 && g.y1 > g.y0)
        {
            // One contour, four on-curve points, coordinates as 16-bit deltas.
            B16(glyf, 1);
            B16(glyf, uint16_t(g.x0));
            B16(glyf, uint16_t(g.y0));
            B16(glyf, uint16_t(g.x1));
            B16(glyf, uint16_t(g.y1));
            B16(glyf, 3);   // last point of the contour
            B16(glyf, 0);   // no instructions
            for (int i = 0; i < 4; ++i)
                glyf += char(0x01);
            for (int dx : {int(g.x0), 0, g.x1 - g.x0, 0})
                B16(glyf, uint16_t(int16_t(dx)));
            for (int dy : {int(g.y0), g.y1 - g.y0, 0, g.y0 - g.y1})
                B16(glyf, uint16_t(int16_t(dy)));
            Pad4(glyf);
            xMin = std::min(xMin, g.x0);
            yMin = std::min(yMin, g.y0);
            xMax = std::max(xMax, g.x1);
            yMax = std::max(yMax, g.y1);
        }
        B32(loca, uint32_t(glyf.size()));   // where the next glyph starts
        B16(hmtx, g.advance);
        B16(hmtx, uint16_t(g.x0));
        maxAdvance = std::max(maxAdvance, g.advance);
    }

    std::string head;
    B32(head, 0x00010000);
    B32(head, 0x00010000);
    B32(head, 0);             // checksum adjustment, unchecked
    B32(head, 0x5F0F3CF5);
    B16(head, 0x0003);        // baseline at y 0, left side bearing at x 0
    B16(head, unitsPerEm);
    B32(head, 0); B32(head, 0); B32(head, 0); B32(head, 0);   // dates
    B16(head, uint16_t(xMin)); B16(head, uint16_t(yMin));
    B16(head, uint16_t(xMax)); B16(head, uint16_t(yMax));
    B16(head, 0);             // mac style
    B16(head, 8);             // smallest readable size
    B16(head, 2);             // direction hint
    B16(head, 1);             // long offsets in loca
    B16(head, 0);

    std::string hhea;
    B32(hhea, 0x00010000);
    B16(hhea, uint16_t(int16_t(unitsPerEm * 4 / 5)));
    B16(hhea, uint16_t(int16_t(-(unitsPerEm / 5))));
    B16(hhea, 0);
    B16(hhea, maxAdvance);
    B16(hhea, 0); B16(hhea, 0); B16(hhea, uint16_t(xMax));
    B16(hhea, 1); B16(hhea, 0); B16(hhea, 0);
    for (int i = 0; i < 4; ++i)
        B16(hhea, 0);
    B16(hhea, 0);
    B16(hhea, numGlyphs);

    std::string maxp;
    B32(maxp, 0x00010000);
    B16(maxp, numGlyphs);
    B16(maxp, 4);             // points
    B16(maxp, 1);             // contours
    B16(maxp, 0); B16(maxp, 0);
    B16(maxp, 2);             // zones
    for (int i = 0; i < 8; ++i)
        B16(maxp, 0);

    // A UCS-4 map (format 12), so codes beyond 65535 can be mapped too.
    std::vector<uint32_t> ids;
    for (size_t i = 0; i < glyphs.size(); ++i)
        ids.push_back(uint32_t(i + 1));
    std::sort(ids.begin(), ids.end(), [&](uint32_t a, uint32_t b) { return glyphs[a - 1].code < glyphs[b - 1].code; });
    std::string cmap;
    B16(cmap, 0);
    B16(cmap, 1);
    B16(cmap, 3);
    B16(cmap, 10);
    B32(cmap, 12);
    B16(cmap, 12);
    B16(cmap, 0);
    B32(cmap, uint32_t(16 + 12 * ids.size()));
    B32(cmap, 0);
    B32(cmap, uint32_t(ids.size()));
    for (uint32_t id : ids)
    {
        B32(cmap, glyphs[id - 1].code);
        B32(cmap, glyphs[id - 1].code);
        B32(cmap, id);
    }

    const std::pair<const char*, std::string*> tables[] = {
        {"cmap", &cmap}, {"glyf", &glyf}, {"head", &head}, {"hhea", &hhea},
        {"hmtx", &hmtx}, {"loca", &loca}, {"maxp", &maxp}};
    const uint16_t numTables = 7;
    std::string font;
    B32(font, 0x00010000);
    B16(font, numTables);
    B16(font, 64);            // search range for 7 tables
    B16(font, 2);
    B16(font, numTables * 16 - 64);
    uint32_t offset = 12 + 16 * numTables;
    std::string data;
    for (const auto& table : tables)
    {
        font += table.first;
        B32(font, 0);         // checksum, unchecked
        B32(font, offset + uint32_t(data.size()));
        B32(font, uint32_t(table.second->size()));
        data += *table.second;
        Pad4(data);
    }
    return font + data;
}
