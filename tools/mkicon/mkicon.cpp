// Draws the setup program's icon: a cardboard box with a blue arrow going
// into it, 32 by 32 pixels in the 16 standard colours, written as an .ico file.
//
//   mkicon OUT.ico
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// One character a pixel: a hex digit is a palette index, '.' is transparent.
const char* const kPicture[32] = {
    "..............0000..............",
    ".............0CCCC0.............",
    ".............0CCCC0.............",
    ".............0CCCC0.............",
    ".............0CCCC0.............",
    ".............0CCCC0.............",
    ".............0CCCC0.............",
    ".............0CCCC0.............",
    "..........0000CCCC0000..........",
    "..........0CCCCCCCCCC0..........",
    "...........0CCCCCCCC0...........",
    "............0CCCCCC0............",
    ".............0CCCC0.............",
    "..............0CC0..............",
    "...............00...............",
    "...0000000000000000000000000....",
    "..0BBBBBBBBBBBBBBBBBBBBBBBB30...",
    ".0BBBBBBBBBBBBBBBBBBBBBBBB330...",
    "0000000000000000000000000B330...",
    "0BBBBBBBBBBBBBBBBBBBBBBB0B330...",
    "0B3333333333333333333330B3330...",
    "0B333333333333F3333333330B330...",
    "0B3333333333333333333330B3330...",
    "0B333333333333F3333333330B330...",
    "0B3333333333333333333330B3330...",
    "0B333333333333F3333333330B330...",
    "0B3333333333333333333330B3330...",
    "0B333333333333F3333333330B30....",
    "0B3333333333333333333330B30.....",
    "0B33333333333333333333330B0.....",
    "08888888888888888888888800......",
    "0000000000000000000000000.......",
};

// The 16 standard colours as 0xRRGGBB, which a little-endian write stores
// in the bitmap palette order blue, green, red, reserved.
const std::array<uint32_t, 16> kPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

void Put16(std::vector<uint8_t>& out, unsigned v)
{
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Palette index of a picture character, -1 for transparent, -2 for invalid.
int Index(char c)
{
    if (c == '.') return -1;
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkicon OUT.ico\n");
        return 2;
    }
    const int size = 32;
    const unsigned xorBytes = size * size / 2, andBytes = size * size / 8;
    const unsigned imageBytes = 40 + 16 * 4 + xorBytes + andBytes;  // 744

    std::vector<uint8_t> out;
    Put16(out, 0); Put16(out, 1); Put16(out, 1);           // icon directory, one image
    out.push_back(size); out.push_back(size);
    out.push_back(16); out.push_back(0);                    // 16 colours
    Put16(out, 1); Put16(out, 4);                           // planes, bits per pixel
    Put32(out, imageBytes); Put32(out, 6 + 16);             // size, offset

    Put32(out, 40); Put32(out, size); Put32(out, size * 2); // header; height counts both masks
    Put16(out, 1); Put16(out, 4);
    Put32(out, 0); Put32(out, xorBytes + andBytes);
    Put32(out, 0); Put32(out, 0); Put32(out, 16); Put32(out, 0);
    for (uint32_t rgb : kPalette)
        Put32(out, rgb);

    // Bitmaps run from the bottom row up.
    for (int y = size - 1; y >= 0; y--) {
        if (std::string(kPicture[y]).size() != size_t(size)) {
            std::fprintf(stderr, "mkicon: picture row %d is not %d wide\n", y, size);
            return 1;
        }
        for (int x = 0; x < size; x += 2) {
            int hi = Index(kPicture[y][x]), lo = Index(kPicture[y][x + 1]);
            if (hi == -2 || lo == -2) {
                std::fprintf(stderr, "mkicon: bad character in picture row %d\n", y);
                return 1;
            }
            out.push_back(uint8_t(((hi < 0 ? 0 : hi) << 4) | (lo < 0 ? 0 : lo)));
        }
    }
    for (int y = size - 1; y >= 0; y--) {
        for (int x = 0; x < size; x += 8) {
            uint8_t bits = 0;
            for (int b = 0; b < 8; b++)
                if (kPicture[y][x + b] == '.')
                    bits |= uint8_t(0x80 >> b);
            out.push_back(bits);
        }
    }

    std::string tmp = std::string(argv[1]) + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "mkicon: cannot write %s\n", argv[1]);
        std::remove(tmp.c_str());
        return 1;
    }
    if (std::rename(tmp.c_str(), argv[1]) != 0) {
        std::fprintf(stderr, "mkicon: cannot write %s\n", argv[1]);
        std::remove(tmp.c_str());
        return 1;
    }
    return 0;
}
