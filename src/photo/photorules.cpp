#include "photo/photorules.h"

#include "core/rounding.h"

#include <vector>

namespace photo {

namespace {

bool isGrey(QRgb c)
{
    return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
}

bool isNearWhite(std::uint32_t c)
{
    return qRed(c) >= kNearWhite && qGreen(c) >= kNearWhite && qBlue(c) >= kNearWhite;
}

}  // namespace

bool fitsPortraitWindow(QSize picture)
{
    return picture.width() <= kMaxPhotoWidth && picture.height() <= kMaxPhotoHeight;
}

bool isGreyPicture(const imaging::Raster& picture)
{
    if (picture.isNull())
        return false;
    // A palette picture is grey when its palette is; its pixels can only be palette colours.
    if (picture.bits() <= 8 && !picture.palette().isEmpty()) {
        for (QRgb c : picture.palette()) {
            if (!isGrey(c))
                return false;
        }
        return true;
    }
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint32_t* line = picture.constScanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            if (!isGrey(line[x]))
                return false;
        }
    }
    return true;
}

FieldSaveSettings fieldSaveSettings(const imaging::Raster& picture)
{
    switch (picture.bits()) {
    case 1:
        return {26, 1, 0};
    case 4:
        return {1, 4, 0};
    default:
        return isGreyPicture(picture) ? FieldSaveSettings{20, 8, -4} : FieldSaveSettings{20, 24, -1};
    }
}

QRect fitPreview(QSize control, QSize picture)
{
    const double W = control.width(), H = control.height();
    const double w = picture.width(), h = picture.height();
    if (w <= 0 || h <= 0 || W <= 0 || H <= 0)
        return {};
    if (w * H / h > W) {
        const double height = W * h / w;
        return {0, core::roundToInt32((H - height) / 2), int(W), core::roundToInt32(height)};
    }
    const double width = H * w / h;
    return {core::roundToInt32((W - width) / 2), 0, core::roundToInt32(width), int(H)};
}

imaging::Raster makeAutoMask(const imaging::Raster& main)
{
    if (main.isNull())
        return {};
    const int width = main.width(), height = main.height();
    // Flood from every near-white edge pixel through near-white pixels (4-connected), so
    // that light areas inside the figure (eyes, teeth, a shirt) stay part of it.
    std::vector<std::uint8_t> background(std::size_t(width) * std::size_t(height), 0);
    std::vector<int> stack;
    auto seed = [&](int x, int y) {
        const std::size_t at = std::size_t(y) * std::size_t(width) + std::size_t(x);
        if (background[at] || !isNearWhite(main.constScanLine(y)[x]))
            return;
        background[at] = 1;
        stack.push_back(int(at));
    };
    for (int x = 0; x < width; ++x) {
        seed(x, 0);
        seed(x, height - 1);
    }
    for (int y = 0; y < height; ++y) {
        seed(0, y);
        seed(width - 1, y);
    }
    while (!stack.empty()) {
        const int at = stack.back();
        stack.pop_back();
        const int x = at % width, y = at / width;
        if (x > 0)
            seed(x - 1, y);
        if (x + 1 < width)
            seed(x + 1, y);
        if (y > 0)
            seed(x, y - 1);
        if (y + 1 < height)
            seed(x, y + 1);
    }

    imaging::Raster mask(width, height, 1, qRgb(0, 0, 0));
    mask.setPalette({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < height; ++y) {
        std::uint32_t* line = mask.scanLine(y);
        const std::uint8_t* row = background.data() + std::size_t(y) * std::size_t(width);
        for (int x = 0; x < width; ++x) {
            if (row[x])
                line[x] = 0xffffffffu;
        }
    }
    return mask;
}

imaging::Raster clearMaskedArea(const imaging::Raster& main, const imaging::Raster& mask)
{
    if (main.isNull() || main.size() != mask.size())
        return main;
    imaging::Raster out = main;
    for (int y = 0; y < out.height(); ++y) {
        std::uint32_t* line = out.scanLine(y);
        const std::uint32_t* m = mask.constScanLine(y);
        for (int x = 0; x < out.width(); ++x) {
            if ((m[x] & 0x00ffffffu) == 0x00ffffffu)
                line[x] = 0xff000000u;
        }
    }
    return out;
}

}  // namespace photo
