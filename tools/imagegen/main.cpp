// Draws the program's pictures as Windows resource files:
//   About.bmp       254 x 137, 8 bits per pixel, 256-colour palette: an aircraft above a runway
//   Scenewright.ico 32 x 32, 8 bits per pixel: the same aircraft on a sky square
//   HandLink.cur    32 x 32, two colours: a pointing hand, hot spot at the fingertip (6, 0)
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, unsigned v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

struct Rgb {
    uint8_t r, g, b;
};

// An 8-bit image: pixel indexes into a palette, top row first.
struct Image {
    int width, height;
    std::vector<uint8_t> pixels;
    std::vector<Rgb> palette;
    Image(int w, int h) : width(w), height(h), pixels(size_t(w) * h, 0), palette(256, {0, 0, 0}) {}
    void Set(int x, int y, uint8_t index) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[size_t(y) * width + x] = index;
    }
};

// Palette slots of the pictures.
enum : uint8_t {
    kSkyFirst = 0,  // 0..63: sky gradient
    kGrass = 64,
    kGrassDark,
    kTarmac,
    kMarking,
    kBody,
    kBodyShade,
    kWindow,
    kTail,
    kEdgeLight,
    kShadow,
};

void FillPalette(Image& image) {
    for (int i = 0; i < 64; ++i)
        image.palette[kSkyFirst + i] = {uint8_t(70 + i * 2), uint8_t(130 + i * 3 / 2),
                                        uint8_t(200 + i * 3 / 4)};
    image.palette[kGrass] = {76, 140, 60};
    image.palette[kGrassDark] = {58, 112, 46};
    image.palette[kTarmac] = {84, 86, 92};
    image.palette[kMarking] = {250, 250, 245};
    image.palette[kBody] = {236, 238, 242};
    image.palette[kBodyShade] = {170, 176, 190};
    image.palette[kWindow] = {40, 60, 100};
    image.palette[kTail] = {200, 40, 40};
    image.palette[kEdgeLight] = {255, 200, 60};
    image.palette[kShadow] = {60, 100, 48};
}

bool Inside(double px, double py, const std::vector<std::pair<double, double>>& polygon) {
    bool in = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        auto [xi, yi] = polygon[i];
        auto [xj, yj] = polygon[j];
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
            in = !in;
    }
    return in;
}

void FillPolygon(Image& image, const std::vector<std::pair<double, double>>& polygon,
                 uint8_t index) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (Inside(x + 0.5, y + 0.5, polygon))
                image.Set(x, y, index);
}

// An airliner seen from the side, nose to the right, scaled about (cx, cy).
void DrawAircraft(Image& image, double cx, double cy, double s) {
    auto at = [&](std::vector<std::pair<double, double>> points) {
        for (auto& [x, y] : points) {
            x = cx + x * s;
            y = cy + y * s;
        }
        return points;
    };
    FillPolygon(image, at({{-10, 2}, {14, 10}, {20, 10}, {6, 2}}), kBodyShade);  // far wing
    FillPolygon(image, at({{-40, -3}, {30, -4}, {38, -2}, {41, 1}, {36, 4}, {-34, 4}, {-42, 1}}),
                kBody);                                                             // fuselage
    FillPolygon(image, at({{-40, -3}, {-46, -18}, {-40, -18}, {-28, -3}}), kTail);  // fin
    FillPolygon(image, at({{-38, 1}, {-50, 6}, {-44, 6}, {-30, 2}}), kBodyShade);   // stabiliser
    FillPolygon(image, at({{-8, 2}, {4, 2}, {-14, 16}, {-20, 16}}), kBodyShade);    // near wing
    FillPolygon(image, at({{-6, 5}, {4, 5}, {4, 9}, {-6, 9}}), kBody);              // engine
    FillPolygon(image, at({{33, -3}, {37, -2}, {38, 0}, {33, 0}}), kWindow);        // cockpit
    for (int i = 0; i < 9; ++i) {
        double x = -26 + i * 6.5;
        FillPolygon(image, at({{x, -2}, {x + 2.5, -2}, {x + 2.5, 0}, {x, 0}}), kWindow);
    }
}

Image AboutPicture() {
    Image image(254, 137);
    FillPalette(image);
    const int horizon = 92;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.Set(x, y,
                      y < horizon ? uint8_t(kSkyFirst + y * 63 / horizon)
                                  : uint8_t((x / 9 + y / 5) % 2 ? kGrass : kGrassDark));
    // The runway in perspective, towards a vanishing point on the horizon.
    const double vx = 127;
    FillPolygon(image, {{vx - 6, horizon}, {vx + 6, horizon}, {250, 137}, {4, 137}}, kTarmac);
    for (int k = 0; k < 6; ++k) {
        double t0 = std::pow(0.62, k) * 45, t1 = t0 * 0.55;
        auto mark = [&](double t, double half) {
            return std::pair<double, double>{vx + half * t / 45, horizon + t};
        };
        FillPolygon(image, {mark(t1, -2), mark(t1, 2), mark(t0, 2), mark(t0, -2)}, kMarking);
    }
    for (int side = -1; side <= 1; side += 2)
        for (int k = 1; k < 8; ++k) {
            double t = 45.0 * k / 8;
            double x = vx + side * (6 + (123 - 6) * t / 45 * 0.99);
            image.Set(int(x), int(horizon + t), kEdgeLight);
        }
    // The aircraft climbing out, and its shadow on the grass.
    FillPolygon(image, {{150, 118}, {215, 116}, {212, 121}, {152, 122}}, kShadow);
    DrawAircraft(image, 130, 46, 1.35);
    return image;
}

// A bottom-up 8-bit device-independent bitmap with its palette (no file header).
Bytes DibInfo8(const Image& image, int heightField) {
    Bytes out;
    Put32(out, 40);
    Put32(out, uint32_t(image.width));
    Put32(out, uint32_t(heightField));
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);  // uncompressed
    Put32(out, 0);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 256);
    Put32(out, 0);
    for (const Rgb& c : image.palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    const int stride = (image.width + 3) & ~3;
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < stride; ++x)
            out.push_back(x < image.width ? image.pixels[size_t(y) * image.width + x] : 0);
    }
    return out;
}

Bytes BitmapFile(const Image& image) {
    Bytes dib = DibInfo8(image, image.height);
    Bytes out{'B', 'M'};
    Put32(out, uint32_t(14 + dib.size()));
    Put32(out, 0);
    Put32(out, 14 + 40 + 256 * 4);
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

// An AND mask of 32 x 32: 1 = transparent. Rows of 4 bytes, bottom-up.
Bytes AndMask(const std::vector<std::string>& rows, char opaque1, char opaque2) {
    Bytes out;
    for (int y = 31; y >= 0; --y)
        for (int b = 0; b < 4; ++b) {
            uint8_t byte = 0;
            for (int bit = 0; bit < 8; ++bit) {
                char c = rows[size_t(y)][size_t(b * 8 + bit)];
                if (c != opaque1 && c != opaque2)
                    byte |= uint8_t(0x80 >> bit);
            }
            out.push_back(byte);
        }
    return out;
}

Bytes IconFile() {
    Image icon(32, 32);
    FillPalette(icon);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            icon.Set(x, y, y < 24 ? uint8_t(kSkyFirst + y * 2) : uint8_t(kTarmac));
    DrawAircraft(icon, 16, 14, 0.33);
    Bytes image = DibInfo8(icon, 64);
    Bytes mask(32 * 4, 0);  // fully opaque
    image.insert(image.end(), mask.begin(), mask.end());
    Bytes out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, 1);
    out.push_back(32);
    out.push_back(32);
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, uint32_t(image.size()));
    Put32(out, 22);
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

Bytes CursorFile() {
    // '#' black outline, '.' white inside, ' ' transparent. Fingertip at (6, 0).
    std::vector<std::string> rows = {
        "     ##                         ", "    #..#                        ",
        "    #..#                        ", "    #..#                        ",
        "    #..#                        ", "    #..###                      ",
        "    #..#..###                   ", "    #..#..#..##                 ",
        "    #..#..#..#.#                ", " ## #..#..#..#..#               ",
        "#..##........#..#               ", "#...#...........#               ",
        " #..#...........#               ", "  #.............#               ",
        "  #.............#               ", "   #............#               ",
        "   #...........#                ", "    #..........#                ",
        "    #..........#                ", "     #........#                 ",
        "     #........#                 ", "     ##########                 ",
    };
    rows.resize(32, std::string(32, ' '));
    // XOR bits: 1 = white where opaque.
    Bytes image;
    Put32(image, 40);
    Put32(image, 32);
    Put32(image, 64);
    Put16(image, 1);
    Put16(image, 1);
    for (int i = 0; i < 6; ++i)
        Put32(image, 0);
    Put32(image, 0x000000);  // black
    Put32(image, 0xFFFFFF);  // white
    for (int y = 31; y >= 0; --y)
        for (int b = 0; b < 4; ++b) {
            uint8_t byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (rows[size_t(y)][size_t(b * 8 + bit)] == '.')
                    byte |= uint8_t(0x80 >> bit);
            image.push_back(byte);
        }
    Bytes mask = AndMask(rows, '#', '.');
    image.insert(image.end(), mask.begin(), mask.end());
    Bytes out;
    Put16(out, 0);
    Put16(out, 2);  // cursor
    Put16(out, 1);
    out.push_back(32);
    out.push_back(32);
    out.push_back(2);
    out.push_back(0);
    Put16(out, 6);  // hot spot x
    Put16(out, 0);  // hot spot y
    Put32(out, uint32_t(image.size()));
    Put32(out, 22);
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

bool Write(const std::string& path, const Bytes& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: imagegen <res folder>\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = Write(dir + "/About.bmp", BitmapFile(AboutPicture())) &&
              Write(dir + "/Scenewright.ico", IconFile()) &&
              Write(dir + "/HandLink.cur", CursorFile());
    if (!ok)
        std::perror("imagegen");
    return ok ? 0 : 1;
}
