#include "ui/icons.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "platform/win32/file_system_win.h"

namespace tastomat::ui {
namespace {

struct Rgba {
    float r, g, b, a;
};

// A square canvas in unit coordinates (0..1), painted with anti-aliased shapes by
// sampling each pixel 4x4 times.
class Canvas {
  public:
    explicit Canvas(int size) : size_(size), pixels_(static_cast<size_t>(size * size)) {}

    // inside(x, y) in unit coordinates.
    void fill(const std::function<bool(float, float)>& inside, Rgba colour) {
        constexpr int kSamples = 4;
        for (int y = 0; y < size_; ++y) {
            for (int x = 0; x < size_; ++x) {
                int hits = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx)
                        hits += inside((x + (sx + 0.5f) / kSamples) / size_,
                                       (y + (sy + 0.5f) / kSamples) / size_);
                if (hits)
                    blend(pixels_[static_cast<size_t>(y) * static_cast<size_t>(size_) +
                                  static_cast<size_t>(x)],
                          colour, colour.a * hits / (kSamples * kSamples));
            }
        }
    }
    void disc(float cx, float cy, float r, Rgba c) {
        fill([=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; },
             c);
    }
    void rect(float l, float t, float r, float b, Rgba c) {
        fill([=](float x, float y) { return x >= l && x <= r && y >= t && y <= b; }, c);
    }
    // A stroke with round ends.
    void line(float x1, float y1, float x2, float y2, float width, Rgba c) {
        fill(
            [=](float x, float y) {
                const float dx = x2 - x1, dy = y2 - y1;
                float t = ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy);
                t = std::clamp(t, 0.0f, 1.0f);
                const float px = x1 + t * dx - x, py = y1 + t * dy - y;
                return px * px + py * py <= width * width / 4;
            },
            c);
    }
    // Premultiplied BGRA, top row first.
    std::vector<std::uint32_t> bgra() const {
        std::vector<std::uint32_t> out;
        out.reserve(pixels_.size());
        for (const Rgba& p : pixels_) {
            auto byte = [](float v) {
                return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
            };
            out.push_back(byte(p.a) << 24 | byte(p.r * p.a) << 16 | byte(p.g * p.a) << 8 |
                          byte(p.b * p.a));
        }
        return out;
    }

  private:
    static void blend(Rgba& dst, Rgba src, float alpha) {
        const float a = alpha + dst.a * (1 - alpha);
        if (a <= 0) return;
        dst.r = (src.r * alpha + dst.r * dst.a * (1 - alpha)) / a;
        dst.g = (src.g * alpha + dst.g * dst.a * (1 - alpha)) / a;
        dst.b = (src.b * alpha + dst.b * dst.a * (1 - alpha)) / a;
        dst.a = a;
    }
    int size_;
    std::vector<Rgba> pixels_;
};

constexpr Rgba kWhite{1, 1, 1, 1};
constexpr Rgba kGreen{0.13f, 0.6f, 0.2f, 1};
constexpr Rgba kBlue{0.15f, 0.4f, 0.8f, 1};
constexpr Rgba kRed{0.85f, 0.15f, 0.12f, 1};
constexpr Rgba kGrey{0.45f, 0.47f, 0.5f, 1};
constexpr Rgba kLight{0.93f, 0.94f, 0.96f, 1};
constexpr Rgba kYellow{0.96f, 0.76f, 0.25f, 1};
constexpr Rgba kDark{0.25f, 0.27f, 0.3f, 1};

void paint(Canvas& c, Glyph glyph) {
    switch (glyph) {
        case Glyph::Ok:
            c.line(0.18f, 0.52f, 0.42f, 0.76f, 0.16f, kGreen);
            c.line(0.42f, 0.76f, 0.84f, 0.24f, 0.16f, kGreen);
            return;
        case Glyph::Info:
            c.disc(0.5f, 0.5f, 0.44f, kBlue);
            c.disc(0.5f, 0.28f, 0.07f, kWhite);
            c.line(0.5f, 0.46f, 0.5f, 0.76f, 0.13f, kWhite);
            return;
        case Glyph::Help:
            c.disc(0.5f, 0.5f, 0.44f, kBlue);
            c.fill(
                [](float x, float y) {
                    const float d = std::hypot(x - 0.5f, y - 0.37f);
                    return d >= 0.1f && d <= 0.2f && !(y > 0.37f && x < 0.5f);
                },
                kWhite);
            c.line(0.5f, 0.56f, 0.5f, 0.62f, 0.1f, kWhite);
            c.disc(0.5f, 0.76f, 0.06f, kWhite);
            return;
        case Glyph::Drive:
            c.rect(0.08f, 0.34f, 0.92f, 0.72f, kGrey);
            c.rect(0.14f, 0.40f, 0.86f, 0.52f, kLight);
            c.disc(0.76f, 0.62f, 0.05f, kGreen);
            return;
        case Glyph::Parameter:
            c.rect(0.2f, 0.08f, 0.8f, 0.92f, kGrey);
            c.rect(0.25f, 0.13f, 0.75f, 0.87f, kWhite);
            for (float y : {0.3f, 0.45f, 0.6f, 0.75f}) c.line(0.34f, y, 0.66f, y, 0.06f, kBlue);
            return;
        case Glyph::Delete:
            c.line(0.2f, 0.2f, 0.8f, 0.8f, 0.16f, kRed);
            c.line(0.8f, 0.2f, 0.2f, 0.8f, 0.16f, kRed);
            return;
        case Glyph::Install:
            c.rect(0.12f, 0.62f, 0.88f, 0.9f, kGrey);
            c.line(0.5f, 0.08f, 0.5f, 0.56f, 0.14f, kGreen);
            c.line(0.28f, 0.38f, 0.5f, 0.6f, 0.14f, kGreen);
            c.line(0.72f, 0.38f, 0.5f, 0.6f, 0.14f, kGreen);
            return;
        case Glyph::Cancel:
            c.disc(0.5f, 0.5f, 0.44f, kRed);
            c.line(0.3f, 0.5f, 0.7f, 0.5f, 0.14f, kWhite);
            return;
        case Glyph::Browse:
            c.rect(0.08f, 0.22f, 0.44f, 0.34f, kYellow);
            c.rect(0.08f, 0.3f, 0.92f, 0.82f, kYellow);
            c.rect(0.08f, 0.42f, 0.92f, 0.46f, kDark);
            return;
        case Glyph::Web:
            c.disc(0.5f, 0.5f, 0.44f, kBlue);
            c.fill(
                [](float x, float y) {
                    const float d = std::hypot((x - 0.5f) / 0.2f, (y - 0.5f) / 0.44f);
                    return d >= 0.8f && d <= 1.0f;
                },
                kWhite);
            c.line(0.5f, 0.08f, 0.5f, 0.92f, 0.06f, kWhite);
            c.line(0.08f, 0.5f, 0.92f, 0.5f, 0.06f, kWhite);
            c.line(0.16f, 0.3f, 0.84f, 0.3f, 0.05f, kWhite);
            c.line(0.16f, 0.7f, 0.84f, 0.7f, 0.05f, kWhite);
            return;
    }
}

HBITMAP make_dib(int size, const std::vector<std::uint32_t>& bgra) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp) throw_last_error("CreateDIBSection");
    std::copy(bgra.begin(), bgra.end(), static_cast<std::uint32_t*>(bits));
    return bmp;
}

HICON make_icon(int size, const std::vector<std::uint32_t>& bgra) {
    ScopedBitmap colour(make_dib(size, bgra));
    // The alpha channel decides; the mask only has to exist.
    ScopedBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour.get();
    info.hbmMask = mask.get();
    HICON icon = CreateIconIndirect(&info);
    if (!icon) throw_last_error("CreateIconIndirect");
    return icon;
}

}  // namespace

ImageList::ImageList(const std::vector<Glyph>& glyphs, int size) : size_(size) {
    for (Glyph glyph : glyphs) {
        Canvas canvas(size);
        paint(canvas, glyph);
        const std::vector<std::uint32_t> bgra = canvas.bgra();
        icons_.emplace_back(make_icon(size, bgra));
        bitmaps_.emplace_back(make_dib(size, bgra));
    }
}

}  // namespace tastomat::ui
