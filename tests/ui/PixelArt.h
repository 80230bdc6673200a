#pragma once
#include <QImage>
#include <map>
#include <string>

// One character per pixel, one line per row ('?' for a colour without a
// letter), so that an expected picture can be written out by hand.
using ColorLetters = std::map<QRgb, char>;
std::string PixelArt(const QImage& image, const ColorLetters& letters);

// Joins rows with line breaks: Art({"ab", "cd"}) == "ab\ncd\n".
std::string Art(std::initializer_list<const char*> rows);
