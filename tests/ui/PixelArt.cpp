#include "PixelArt.h"

std::string PixelArt(const QImage& image, const ColorLetters& letters) {
    std::string art;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            auto it = letters.find(image.pixel(x, y) | 0xFF000000u);
            art += it == letters.end() ? '?' : it->second;
        }
        art += '\n';
    }
    return art;
}

std::string Art(std::initializer_list<const char*> rows) {
    std::string art;
    for (const char* row : rows) art += std::string(row) + '\n';
    return art;
}
